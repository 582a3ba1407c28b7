// Slab test: each axis whose slab the origin lies outside gives one candidate
// entry plane; the ray enters the box through the first candidate plane whose
// crossing point lies within the box on the two other axes.
#include "pipeline/ray_box.h"

int intersectRayBox(const float* origin, const float* direction, const float* centre, const float* half, float* t) {
  float lo[3], hi[3], entry[3];
  bool candidate[3];
  bool outside = false;
  for (int a = 0; a < 3; ++a) {
    lo[a] = centre[a] - half[a];
    hi[a] = centre[a] + half[a];
    entry[a] = 1e30f;
    candidate[a] = false;
    if (origin[a] < lo[a]) {
      if (direction[a] <= 0.0f) return 0;  // outside and moving away or parallel
      entry[a] = (lo[a] - origin[a]) / direction[a];
      candidate[a] = true;
    } else if (origin[a] > hi[a]) {
      if (direction[a] >= 0.0f) return 0;
      entry[a] = (hi[a] - origin[a]) / direction[a];
      candidate[a] = true;
    }
    outside = outside || candidate[a];
  }
  if (!outside) {
    *t = 0.0f;
    return 1;
  }
  for (int a = 0; a < 3; ++a) {
    if (!candidate[a]) continue;
    bool within = true;
    for (int b = 0; b < 3 && within; ++b) {
      if (b == a) continue;
      const float p = origin[b] + entry[a] * direction[b];
      within = p >= lo[b] && p <= hi[b];
    }
    if (within) {
      *t = entry[a];
      return 1;
    }
  }
  return 0;
}
