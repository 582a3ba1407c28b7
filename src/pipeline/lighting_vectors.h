// Three-float vector helpers of the lighting code.
#pragma once
#include <cmath>

inline float dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Scales v to unit length. False, leaving v unchanged, when v has no length
// or no finite one. The length is formed in double precision so that large
// but finite vectors still normalise.
inline bool normalise3(float* v) {
  const double x = v[0], y = v[1], z = v[2];
  const double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0.0) || !std::isfinite(length)) return false;
  v[0] = static_cast<float>(x / length);
  v[1] = static_cast<float>(y / length);
  v[2] = static_cast<float>(z / length);
  return true;
}
