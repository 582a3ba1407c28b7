// Ray against axis-aligned box, shared by model picking and the bounding-box
// natives.
#pragma once

// The ray is P = origin + t·direction; the box is given by its centre and
// half-extents. Returns 1 and the entry parameter in *t when the ray meets the
// box (t = 0 when the origin lies inside or on the box), else 0 with *t
// untouched. A face point exactly on the box's boundary counts as a hit.
int intersectRayBox(const float* origin, const float* direction, const float* centre, const float* half, float* t);
