// The projection: not a matrix but the limits of the view volume, against
// which the pipeline clips and from which it maps to the screen.
#include <cmath>

#include "context/context.h"
#include "context/model_stack.h"

namespace {

// Widest field of view accepted, in radians: just under pi.
constexpr double MAX_FIELD_OF_VIEW = 3.1415926;

RukStatus storeProjection(RukContext* context, uint32_t perspective, float nearZ, float farZ, float xLimit,
                          float yLimit) {
  context->perspective = perspective;
  context->nearZ = nearZ;
  context->farZ = farZ;
  context->xLimit = xLimit;
  context->yLimit = yLimit;
  return RUK_OK;
}

}  // namespace

// Comparisons are written so that NaN fails them, and limits that come out
// NaN (an infinite field of view, or zero times an infinite aspect) are
// refused too: such a view volume would map vertices to undefined screen
// positions.
RukStatus doSetPerspectiveProjection(RukContext* context, float fov, float aspect, float nearZ, float farZ) {
  if (!(farZ > nearZ) || !(aspect > 0.0f) || !(static_cast<double>(fov) < MAX_FIELD_OF_VIEW)) {
    return RUK_ERR_BAD_ARGUMENT;
  }
  const float yLimit = static_cast<float>(std::tan(static_cast<double>(fov) / 2.0));
  const float xLimit = yLimit * aspect;
  if (std::isnan(yLimit) || std::isnan(xLimit)) return RUK_ERR_BAD_ARGUMENT;
  return storeProjection(context, 1, nearZ, farZ, xLimit, yLimit);
}

RukStatus doSetOrthographicProjection(RukContext* context, float halfWidth, float halfHeight, float nearZ, float farZ) {
  if (!(farZ > nearZ) || !(halfWidth > 0.0f) || !(halfHeight > 0.0f)) {
    return RUK_ERR_BAD_ARGUMENT;
  }
  return storeProjection(context, 0, nearZ, farZ, halfWidth, halfHeight);
}
