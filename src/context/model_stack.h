// The model matrix stack (every transforming call pushes, so a pop undoes
// exactly the last call), the texture matrix and the projection limits.
#pragma once
#include <cstdint>

#include "matrix/matrix.h"
#include "runtime/status.h"

struct RukContext;

RukStatus concatModelMatrix(RukContext* context, const Matrix4* m);  // push m·top
RukStatus loadModelMatrix(RukContext* context, const Matrix4* m);    // push a copy of m
RukStatus translateModel(RukContext* context, float x, float y, float z);
RukStatus doScaleModel(RukContext* context, float x, float y, float z);
RukStatus doRotateModel(RukContext* context, float x, float y, float z, float angle);
RukStatus doQuatRotateModel(RukContext* context, const float* q);
RukStatus popModelMatrix(RukContext* context);
RukStatus resetModelMatrix(RukContext* context);
RukStatus doGetModelMatrix(const RukContext* context, Matrix4* out);
RukStatus loadTextureMatrix(RukContext* context, const Matrix4* m);
RukStatus doGetTextureMatrix(const RukContext* context, Matrix4* out);
RukStatus doSetPerspectiveProjection(RukContext* context, float fov, float aspect, float nearZ, float farZ);
RukStatus doSetOrthographicProjection(RukContext* context, float halfWidth, float halfHeight, float nearZ, float farZ);
