// The rendering context: the native state of one KELRendGraphics3D.
#pragma once
#include <cstdint>

#include "context/attributes.h"
#include "device/color_model.h"
#include "matrix/matrix.h"
#include "pipeline/batch.h"
#include "pipeline/light_records.h"
#include "runtime/status.h"
#include "texture/texture.h"

struct RukFramebuffer;
struct RasterState;

inline constexpr uint32_t MODEL_STACK_DEPTH = 32;
inline constexpr uint32_t ERROR_MESSAGE_SIZE = 256;

struct RukContext {
  RukColorModel colorModel;  // built from the screen; its palette belongs to the context
  uint32_t width, height;    // size of every buffer in pixels
  uint32_t pitch;            // pixels per colour-buffer row (equals width when the row stride allows)
  uint32_t rowBytes;         // bytes from one colour-buffer row to the next
  RukFramebuffer* framebuffer;
  RasterState* rasterState;  // owned
  uint32_t bufferFlags;      // 1 colour, 2 depth, 8 accumulation buffer present
  uint8_t* colorBuffer;      // not owned
  int32_t* depthBuffer;      // width x height, rows `width` apart; not owned
  uint32_t* accumBuffer;     // width x height; not owned
  uint32_t attributes[ATTRIBUTE_COUNT];
  RukTexture boundTexture;  // a copy holding its texels; null when no texture is bound
  Matrix4 textureMatrix;

  uint32_t batchCount, batchCapacity;
  BatchEntry* batch;  // owned, batchCapacity entries
  VertexCacheEntry vertexCache[VERTEX_CACHE_SIZE];
  BatchVertex clipBufferA[9], clipBufferB[9];
  BatchVertex* clipCurrent;
  BatchEntry fanTriangles[7];

  RukMaterial material;
  uint32_t lightCount;
  uint32_t ambientLight;
  RukLight lights[MAX_LIGHTS];
  float eyeInModel[3];
  Matrix4 inverseModelMatrix;

  // Projection block.
  float yLimit, xLimit, nearZ, farZ;
  uint32_t perspective;  // 1 perspective, 0 orthographic

  uint32_t modelDepth;  // index of the top matrix
  Matrix4 modelStack[MODEL_STACK_DEPTH];
  uint32_t derivedDirty;
  uint32_t modelConformal;

  char errorMessage[ERROR_MESSAGE_SIZE];
};

// Creates a context drawing into `colorBuffer` (rows `colorRowBytes` apart;
// 0 means width x bytes per pixel), building its colour model from `screen`.
// 7 for a zero size, 1 when the colour tables cannot be built, 8 for an
// unsupported screen; *out is null on failure.
RukStatus createContext(RukDevice* device, RukContext** out, const RukDeviceDescriptor* screen, uint32_t width,
                        uint32_t height, uint8_t* colorBuffer, uint32_t colorRowBytes, int32_t* depthBuffer,
                        uint32_t* accumBuffer);
RukStatus freeContext(RukContext* context);  // null gives 0

RukStatus beginRendering(RukContext* context);
RukStatus endRendering(RukContext* context);

// Store the word and run the attribute-change hook; no validation.
RukStatus setAttributeInt(RukContext* context, uint32_t id, int32_t value);
RukStatus setAttributeEnum(RukContext* context, uint32_t id, uint32_t value);
RukStatus setAttributeFloat(RukContext* context, uint32_t id, float value);
RukStatus setAttributeColor(RukContext* context, uint32_t id, uint32_t color);  // stores AND 0xFFFFFF

float attributeFloat(const RukContext* context, uint32_t id);

// Binds a copy of the texture record into the context (the texels are
// shared and held for as long as they are bound, so a texture released while
// bound keeps drawing here until it is unbound), or with null clears the
// copy's texels, which turns texturing off. Either lets go of the texels
// bound before.
RukStatus bindTexture(RukContext* context, const RukTexture* textureOrNull);

// Copies at most 255 bytes of text and a terminating zero into errorMessage.
void recordError(RukContext* context, const char* text);
const char* errorMessageOf(const RukContext* context);

// The top of the model stack.
inline const Matrix4* currentModelMatrix(const RukContext* context) {
  return &context->modelStack[context->modelDepth];
}
