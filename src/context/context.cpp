// Context creation, release and the begin/end bracket.
#include "context/context.h"

#include <bit>
#include <cstring>

#include "context/attribute_defaults.h"
#include "context/model_stack.h"
#include "device/product_table.h"
#include "raster/raster.h"
#include "runtime/memory.h"

namespace {

// Field of view of the default projection: pi/4 rounded to single precision.
constexpr float DEFAULT_FIELD_OF_VIEW = std::bit_cast<float>(0x3F490FDBu);
constexpr float DEFAULT_NEAR = 1.0f;
constexpr float DEFAULT_FAR = 1000.0f;

// What a context draws with until the first setMaterial.
constexpr RukMaterial INITIAL_MATERIAL = {0x000000, 0x333333, 0xCCCCCC, 0x000000, 0.0f, 255};

// Bytes between colour-buffer rows: the caller's stride, or tightly packed.
// The pitch in pixels follows it when whole pixels fill a row exactly.
void setRowStride(RukContext* context, uint32_t colorRowBytes) {
  const uint32_t bytesPerPixel = context->colorModel.bytesPerPixel;
  context->rowBytes = colorRowBytes != 0 ? colorRowBytes : context->width * bytesPerPixel;
  context->pitch =
      bytesPerPixel != 0 && context->rowBytes % bytesPerPixel == 0 ? context->rowBytes / bytesPerPixel : context->width;
}

void attachBuffers(RukContext* context, uint8_t* colorBuffer, int32_t* depthBuffer, uint32_t* accumBuffer) {
  context->bufferFlags = 0;
  if (colorBuffer != nullptr) {
    context->colorBuffer = colorBuffer;
    context->bufferFlags |= 1;
  }
  if (depthBuffer != nullptr) {
    context->depthBuffer = depthBuffer;
    context->bufferFlags |= 2;
  }
  if (accumBuffer != nullptr) {
    context->accumBuffer = accumBuffer;
    context->bufferFlags |= 8;
  }
}

// An indexed screen descriptor carries no colours of its own; the indexed
// device the context is made for holds the palette its pixel values index.
const RukDeviceDescriptor* paletteSource(const RukDevice* device, const RukDeviceDescriptor* screen) {
  if (screen->depth == 8 && screen->paletteSize == 0 && device != nullptr && device->descriptor.depth == 8 &&
      device->descriptor.paletteSize != 0) {
    return &device->descriptor;
  }
  return screen;
}

RukStatus fail(RukContext* context, RukContext** out, RukStatus status) {
  freeContext(context);
  *out = nullptr;
  return status;
}

}  // namespace

RukStatus createContext(RukDevice* device, RukContext** out, const RukDeviceDescriptor* screen, uint32_t width,
                        uint32_t height, uint8_t* colorBuffer, uint32_t colorRowBytes, int32_t* depthBuffer,
                        uint32_t* accumBuffer) {
  *out = nullptr;
  if (width == 0 || height == 0) return RUK_ERR_BAD_ARGUMENT;
  if (!buildProductTable()) return RUK_ERR_ALLOCATION;

  // Cleared whole, so that no field is ever read before it holds a value.
  auto* context = static_cast<RukContext*>(rukAllocate(sizeof(RukContext)));
  std::memset(static_cast<void*>(context), 0, sizeof(RukContext));
  context->width = width;
  context->height = height;
  context->pitch = width;

  context->batch = rukAllocateArray<BatchEntry>(BATCH_CAPACITY);
  context->batchCapacity = BATCH_CAPACITY;

  context->lightCount = 0;
  context->ambientLight = 0;

  // The descriptor is copied so that a palette borrowed from the device does
  // not alter the caller's request.
  RukDeviceDescriptor request = *screen;
  const RukDeviceDescriptor* colours = paletteSource(device, screen);
  request.paletteSize = colours->paletteSize;
  request.paletteRed = colours->paletteRed;
  request.paletteGreen = colours->paletteGreen;
  request.paletteBlue = colours->paletteBlue;
  if (!buildColorModel(&context->colorModel, &request)) {
    return fail(context, out, RUK_ERR_PIXEL_FORMAT);
  }
  setRowStride(context, colorRowBytes);
  attachBuffers(context, colorBuffer, depthBuffer, accumBuffer);

  const float aspect = static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
  const RukStatus projection =
      doSetPerspectiveProjection(context, DEFAULT_FIELD_OF_VIEW, aspect, DEFAULT_NEAR, DEFAULT_FAR);
  if (projection != RUK_OK) return fail(context, out, projection);

  context->modelDepth = 0;
  matrixIdentity(&context->modelStack[0]);
  context->derivedDirty = 1;

  matrixIdentity(&context->textureMatrix);
  context->boundTexture.texels = nullptr;

  context->rasterState = selectRasterTables(&context->colorModel);

  applyDefaultAttributes(context);
  context->material = INITIAL_MATERIAL;

  *out = context;
  return RUK_OK;
}

RukStatus freeContext(RukContext* context) {
  if (context == nullptr) return RUK_OK;
  unshareTexture(&context->boundTexture);
  if (context->batch != nullptr) rukRelease(context->batch);
  if (context->colorModel.palette != nullptr) rukRelease(context->colorModel.palette);
  if (context->rasterState != nullptr) freeRasterState(context->rasterState);
  rukRelease(context);
  return RUK_OK;
}

RukStatus bindTexture(RukContext* context, const RukTexture* textureOrNull) {
  shareTexture(&context->boundTexture, textureOrNull);
  return RUK_OK;
}

RukStatus beginRendering(RukContext* context) {
  context->batchCount = 0;
  return RUK_OK;
}

RukStatus endRendering(RukContext*) { return RUK_OK; }
