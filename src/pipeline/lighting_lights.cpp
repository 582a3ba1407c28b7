// The material and the light list of a context.
//
// Lights are stored in eye space, carried by the model matrix current at the
// push, so a light pushed under the camera transform stays fixed in the
// world. Each push also raises the context's ambient light by the light's
// ambient colour, saturating per channel; the light remembers exactly what
// it added so that popping it restores the previous ambient light.
#include <cmath>

#include "context/context.h"
#include "device/product_table.h"
#include "pipeline/lighting.h"
#include "pipeline/lighting_vectors.h"

RukStatus setMaterial(RukContext* context, uint32_t emission, uint32_t ambient, uint32_t diffuse, uint32_t specular,
                      float shininess, uint32_t alpha) {
  RukMaterial& material = context->material;
  material.emission = emission;
  material.ambient = ambient;
  material.diffuse = diffuse;
  material.specular = specular;
  material.shininess = shininess;
  // Unsigned comparison: a negative alpha from Java also becomes opaque.
  material.alpha = alpha < 255u ? alpha : 255u;
  return RUK_OK;
}

namespace {

// Eye-space direction of a light from the direction given at the push: the
// given vector carried by the model matrix and made unit. A direction without
// length (or one that overflows) has no meaning; such a light shines into the
// screen, like a headlight.
void carryDirection(const RukContext* context, const float* given, float* out) {
  matrixTransformVector2(currentModelMatrix(context), given, out);
  if (!normalise3(out)) {
    out[0] = 0.0f;
    out[1] = 0.0f;
    out[2] = -1.0f;
  }
}

// Per channel, what adding `given` raises `current` by before it saturates.
uint32_t saturatingShare(uint32_t current, uint32_t given) {
  uint32_t share = 0;
  for (uint32_t shift = 0; shift <= 16; shift += 8) {
    const uint32_t have = (current >> shift) & 0xFFu;
    const uint32_t add = (given >> shift) & 0xFFu;
    const uint32_t sum = have + add < 255u ? have + add : 255u;
    share |= (sum - have) << shift;
  }
  return share;
}

// The next free record with the fields every kind of light has, or null
// when the list is full.
RukLight* beginPush(RukContext* context, uint32_t type, uint32_t color) {
  if (context->lightCount >= MAX_LIGHTS) return nullptr;
  RukLight* light = &context->lights[context->lightCount];
  light->type = type;
  light->color = color;
  light->colorRows[0] = productRow((color >> 16) & 0xFFu);
  light->colorRows[1] = productRow((color >> 8) & 0xFFu);
  light->colorRows[2] = productRow(color & 0xFFu);
  // Fields a kind does not use are still defined, so that copies and
  // comparisons of the record never read indeterminate words.
  light->quadratic = 0.0f;
  light->linear = 0.0f;
  light->constant = 1.0f;
  light->cosOuter = -1.0f;
  light->cosInner = 1.0f;
  light->rangeSquared = 0.0f;
  for (int i = 0; i < 3; ++i) {
    light->position[i] = 0.0f;
    light->direction[i] = 0.0f;
    light->modelPosition[i] = 0.0f;
    light->modelDirection[i] = 0.0f;
  }
  return light;
}

void setAttenuation(RukLight* light, float range, float quadratic, float linear, float constant) {
  light->rangeSquared = range * range;
  light->quadratic = quadratic;
  light->linear = linear;
  light->constant = constant;
}

RukStatus endPush(RukContext* context, RukLight* light, uint32_t ambient) {
  const uint32_t share = ambient == 0 ? 0u : saturatingShare(context->ambientLight, ambient);
  light->ambientShare = share;
  // Shares never carry between channels: each channel stays at most 255.
  context->ambientLight += share;
  context->lightCount += 1;
  context->derivedDirty = 1;
  return RUK_OK;
}

}  // namespace

RukStatus pushDirectionalLight(RukContext* context, uint32_t color, uint32_t ambient, const float* direction) {
  RukLight* light = beginPush(context, LIGHT_DIRECTIONAL, color);
  if (light == nullptr) return RUK_ERR_LIGHTS_FULL;
  carryDirection(context, direction, light->direction);
  return endPush(context, light, ambient);
}

RukStatus pushPointLight(RukContext* context, uint32_t color, uint32_t ambient, const float* position, float range,
                         float quadratic, float linear, float constant) {
  RukLight* light = beginPush(context, LIGHT_POINT, color);
  if (light == nullptr) return RUK_ERR_LIGHTS_FULL;
  matrixTransformPoint2(currentModelMatrix(context), position, light->position);
  setAttenuation(light, range, quadratic, linear, constant);
  return endPush(context, light, ambient);
}

RukStatus pushSpotLight(RukContext* context, uint32_t color, uint32_t ambient, const float* position,
                        const float* direction, float range, float cosOuter, float cosInner, float quadratic,
                        float linear, float constant) {
  RukLight* light = beginPush(context, LIGHT_SPOT, color);
  if (light == nullptr) return RUK_ERR_LIGHTS_FULL;
  matrixTransformPoint2(currentModelMatrix(context), position, light->position);
  carryDirection(context, direction, light->direction);
  setAttenuation(light, range, quadratic, linear, constant);
  light->cosOuter = cosOuter;
  // The cone ramp divides by cosInner - cosOuter, which must stay positive.
  light->cosInner = cosInner > cosOuter ? cosInner : cosOuter + 1e-5f;
  return endPush(context, light, ambient);
}

RukStatus popLight(RukContext* context) {
  if (context->lightCount == 0) return RUK_ERR_LIGHTS_EMPTY;
  context->lightCount -= 1;
  context->ambientLight -= context->lights[context->lightCount].ambientShare;
  return RUK_OK;
}

RukStatus resetLights(RukContext* context) {
  context->lightCount = 0;
  context->ambientLight = 0;
  return RUK_OK;
}
