// Materials, lights, per-vertex lighting and fog amounts.
//
// Lighting runs in model space: the context keeps each light and the eye
// carried into the space of the model being drawn and refreshes them only
// after the model matrix changed or a light was pushed. Channel products go
// through productTable8.
#pragma once
#include <cstdint>

#include "pipeline/light_records.h"
#include "runtime/status.h"

struct RukContext;
struct RukModel;
using ModelPacket = RukModel;

RukStatus setMaterial(RukContext* context, uint32_t emission, uint32_t ambient, uint32_t diffuse, uint32_t specular,
                      float shininess, uint32_t alpha);
RukStatus pushDirectionalLight(RukContext* context, uint32_t color, uint32_t ambient, const float* direction);
RukStatus pushPointLight(RukContext* context, uint32_t color, uint32_t ambient, const float* position, float range,
                         float quadratic, float linear, float constant);
RukStatus pushSpotLight(RukContext* context, uint32_t color, uint32_t ambient, const float* position,
                        const float* direction, float range, float cosOuter, float cosInner, float quadratic,
                        float linear, float constant);
RukStatus popLight(RukContext* context);
RukStatus resetLights(RukContext* context);

// Refreshes the inverse model matrix, the eye and the lights in model space.
void updateModelSpaceLighting(RukContext* context);

// One evaluation at a model-space position and unit normal.
void evaluateLighting(const RukContext* context, const float* position, const float* normal,
                      const RukMaterial* material, uint32_t* outColor, uint32_t* outSpecular);

// Evaluations that run together: lane l lights (position[0][l],
// position[1][l], position[2][l]) with its normal and material, giving
// exactly what evaluateLighting gives for them.
inline constexpr uint32_t LIGHTING_LANES = 4;
struct LightingLanes {
  float position[3][LIGHTING_LANES];
  float normal[3][LIGHTING_LANES];
  RukMaterial material[LIGHTING_LANES];
};
void evaluateLightingLanes(const RukContext* context, const LightingLanes& lanes, uint32_t* outColor,
                           uint32_t* outSpecular);

// The lighting passes over the batch (entries with clipAnd 0), ending with
// the fog pass when RF_FOG is set.
void lightBatchFlat(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                    uint32_t pipelineFlags);
void lightBatchSmooth(RukContext* context, uint32_t cornersPerPrimitive, const ModelPacket* packet,
                      uint32_t pipelineFlags);
void computeFogAmounts(RukContext* context, uint32_t cornersPerPrimitive, uint32_t pipelineFlags, bool flat);
