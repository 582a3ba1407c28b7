// The rotation quaternion (x, y, z, w) of an angle about an axis, shared by the
// matrix library and the quaternion natives.
#pragma once

#include <cmath>

// q := (x·s, y·s, z·s, c) with s = sin(angle/2), c = cos(angle/2), taken in
// double and stored as floats. A half-angle sine within ±1e-8 gives the
// identity quaternion (0, 0, 0, 1). The axis is used as given: callers pass a
// unit axis. A positive angle about +z turns +x toward +y.
inline void quaternionFromAxisAngle(float x, float y, float z, float angle, float* q) {
  const double half = double(angle) * 0.5;
  const float s = static_cast<float>(std::sin(half));
  const float c = static_cast<float>(std::cos(half));
  if (s > -1e-8 && s < 1e-8) {
    q[0] = 0.0f;
    q[1] = 0.0f;
    q[2] = 0.0f;
    q[3] = 1.0f;
    return;
  }
  q[0] = x * s;
  q[1] = y * s;
  q[2] = z * s;
  q[3] = c;
}
