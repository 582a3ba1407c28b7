// Natives of kel.geom.BoundingBox3: field 0 the centre, field 1 the
// half-extents, both Vector3s. A negative x half-extent marks an empty box.
#include "pipeline/ray_box.h"
#include "share/kel/geom/geom_objects.h"

// An empty box stays as it is; any other is replaced by the box enclosing its
// image under m.
void kel_geom_BoundingBox3_transform(JHandle self, JHandle m) {
  const BoxFields box = boxOf(self);
  const Matrix4* matrix = matrixOf(m);
  if (!box || matrix == nullptr || box.empty()) return;
  matrixTransformBBox(matrix, box.centre, box.half);
}

// The ray parameter where the ray (field 0 origin, field 1 direction) enters
// the box: 0 from inside, −1 on a miss or for an empty box.
float kel_geom_BoundingBox3_rayIntersection(JHandle self, JHandle ray) {
  constexpr float kMiss = -1.0f;
  const BoxFields box = boxOf(self);
  if (!box || box.empty() || ray == 0) return kMiss;
  const uint32_t* fields = fieldsOf(ray);
  const float* origin = floatsOf(fields[0]);
  const float* direction = floatsOf(fields[1]);
  if (origin == nullptr || direction == nullptr) return kMiss;
  float t = kMiss;
  return intersectRayBox(origin, direction, box.centre, box.half, &t) ? t : kMiss;
}

KELRUK_STUB(kel_geom_BoundingBox3_transform)
KELRUK_STUB(kel_geom_BoundingBox3_rayIntersection)
