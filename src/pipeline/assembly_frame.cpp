#include "pipeline/assembly_frame.h"

#include <algorithm>

#include "device/product_table.h"

namespace {

// The largest coordinate a 16.16 value can carry.
constexpr float FIXED_LIMIT = 32767.0f;

// The fog colour (attribute 32) taken apart with the colour model's word shifts.
void fogChannels(const RukContext* context, uint32_t* red, uint32_t* green, uint32_t* blue) {
  const uint32_t fog = context->attributes[ATTR_FOG_COLOR];
  const RukColorModel& model = context->colorModel;
  *red = (fog >> model.redWordShift) & 0xFFu;
  *green = (fog >> model.greenWordShift) & 0xFFu;
  *blue = (fog >> model.blueWordShift) & 0xFFu;
}

}  // namespace

AssemblyFrame makeAssemblyFrame(const RukContext* context, uint32_t pipelineFlags) {
  AssemblyFrame frame;
  const float width = static_cast<float>(context->width);
  const float height = static_cast<float>(context->height);
  const float nearZ = context->nearZ;
  const float farZ = context->farZ;
  frame.halfWidth = width / 2.0f;
  frame.halfHeight = height / 2.0f;
  frame.scaleX = ((width - 0.1f) / context->xLimit) / 2.0f;
  frame.scaleY = ((height - 0.1f) / context->yLimit) / 2.0f;
  frame.depthScale = farZ / (farZ - nearZ);
  frame.depthOffset = frame.depthScale * nearZ;
  frame.nearZ = nearZ;
  frame.depthPerUnit = DEPTH_RANGE / (farZ - nearZ);
  frame.perspective = context->perspective != 0;
  CornerRules& rules = frame.rules;
  rules.limitX = std::min(width, FIXED_LIMIT);
  rules.limitY = std::min(height, FIXED_LIMIT);
  rules.pipelineFlags = pipelineFlags;
  const RukColorModel& model = context->colorModel;
  rules.shifts = {model.redWordShift, model.greenWordShift, model.blueWordShift};
  fogChannels(context, &rules.fogRed, &rules.fogGreen, &rules.fogBlue);
  rules.separateSpecular = context->attributes[ATTR_SEPARATE_SPECULAR] != 0;
  rules.perPixelFog = context->attributes[ATTR_FOG_PER_PIXEL] != 0;
  return frame;
}

RasterTarget makeRasterTarget(const RukContext* context) {
  RasterTarget target;
  target.colorBuffer = context->colorBuffer;
  target.rowBytes = context->rowBytes;
  target.width = context->width;
  target.depthBuffer = context->depthBuffer;
  target.depthRow = context->width;
  fogChannels(context, &target.fogRed, &target.fogGreen, &target.fogBlue);
  target.texels = context->boundTexture.texels;
  target.log2Width = context->boundTexture.log2Width;
  target.log2Height = context->boundTexture.log2Height;
  const RasterState* state = context->rasterState;
  target.inverseColorMap12 = state != nullptr ? state->inverseColorMap12 : nullptr;
  target.inverseColorMap6 = state != nullptr ? state->inverseColorMap6 : nullptr;
  return target;
}

namespace {
int32_t fogChannel(int32_t value, uint32_t fogValue, uint32_t amount) {
  const uint32_t intensity = static_cast<uint32_t>(std::clamp(value >> 16, 0, 255));
  return static_cast<int32_t>(productRow(intensity)[255 - amount] + productRow(fogValue)[amount]) << 16;
}
}  // namespace

void mixFog(const AssemblyFrame& frame, uint32_t fogAmount, RasterVertex* slot) {
  slot->c0 = fogChannel(slot->c0, frame.rules.fogRed, fogAmount);
  slot->c1 = fogChannel(slot->c1, frame.rules.fogGreen, fogAmount);
  slot->c2 = fogChannel(slot->c2, frame.rules.fogBlue, fogAmount);
}

void fillPerVertexSlot(const AssemblyFrame& frame, const ScreenVertex& vertex, RasterVertex* slot) {
  slot->x = truncToInt(vertex.x * FIXED_ONE);
  slot->y = truncToInt(vertex.y * FIXED_ONE);
  slot->z = truncToInt(vertex.depth);
  setChannels(frame.rules.shifts, vertex.color, slot->c0, slot->c1, slot->c2);
  slot->a = static_cast<int32_t>((vertex.color >> 24) << 16);
  if (frame.rules.pipelineFlags & RF_SPECULAR) addSpecular(frame, vertex.specular, slot);
  if (frame.rules.pipelineFlags & RF_FOG) mixFog(frame, vertex.specular >> 24, slot);
}
