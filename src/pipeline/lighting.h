// Materials, lights, per-vertex lighting and fog amounts.
//
// Lighting runs in model space: the context keeps each light and the eye
// carried into the space of the model being drawn and refreshes them only
// after the model matrix changed or a light was pushed. Channel products go
// through productTable8.
#pragma once
#include <cstdint>

#include "runtime/status.h"

struct RukContext;
struct RukModel;
using ModelPacket = RukModel;

struct RukMaterial {
  uint32_t emission;  // 0x00RRGGBB
  uint32_t ambient;
  uint32_t diffuse;
  uint32_t specular;  // 0 turns specular off
  float shininess;
  uint32_t alpha;  // 0..255
};

inline constexpr uint32_t LIGHT_DIRECTIONAL = 0;
inline constexpr uint32_t LIGHT_POINT = 1;
inline constexpr uint32_t LIGHT_SPOT = 2;
inline constexpr uint32_t MAX_LIGHTS = 16;

struct RukLight {
  uint32_t type;
  uint32_t color;
  uint32_t ambientShare;  // what this light added to the context's ambient light
  float position[3];      // eye space
  float direction[3];     // eye space, unit
  float quadratic;
  float linear;
  float constant;
  float cosOuter;
  float cosInner;
  float rangeSquared;
  float modelPosition[3];
  float modelDirection[3];
  const uint8_t* colorRows[3];  // productTable8 rows of red, green, blue of `color`
};

RukStatus setMaterial(RukContext* context, uint32_t emission, uint32_t ambient, uint32_t diffuse,
                      uint32_t specular, float shininess, uint32_t alpha);
RukStatus pushDirectionalLight(RukContext* context, uint32_t color, uint32_t ambient,
                               const float* direction);
RukStatus pushPointLight(RukContext* context, uint32_t color, uint32_t ambient, const float* position,
                         float range, float quadratic, float linear, float constant);
RukStatus pushSpotLight(RukContext* context, uint32_t color, uint32_t ambient, const float* position,
                        const float* direction, float range, float cosOuter, float cosInner,
                        float quadratic, float linear, float constant);
RukStatus popLight(RukContext* context);
RukStatus resetLights(RukContext* context);

// Refreshes the inverse model matrix, the eye and the lights in model space.
void updateModelSpaceLighting(RukContext* context);

// One evaluation at a model-space position and unit normal.
void evaluateLighting(const RukContext* context, const float* position, const float* normal,
                      const RukMaterial* material, uint32_t* outColor, uint32_t* outSpecular);

// The lighting passes over the batch (entries with clipAnd 0), ending with
// the fog pass when RF_FOG is set.
void lightBatchFlat(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                    uint32_t pipelineFlags);
void lightBatchSmooth(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                      uint32_t pipelineFlags);
void computeFogAmounts(RukContext* context, uint32_t cornersPerPrimitive, uint32_t pipelineFlags,
                       bool flat);
