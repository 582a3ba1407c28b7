// The feature mask of one render call, from the context's attributes, its
// buffers, the material, the bound texture and the model.
#include "context/context.h"
#include "pipeline/render.h"
#include "raster/raster.h"

namespace {
inline constexpr uint32_t BUFFER_DEPTH = 2;
}

uint32_t computePipelineFlags(const RukContext* context, const ModelPacket* packet) {
  const uint32_t* attributes = context->attributes;
  uint32_t flags = 0;
  if ((context->bufferFlags & BUFFER_DEPTH) != 0) {
    if (attributes[ATTR_DEPTH_TEST] != 0) flags |= RF_DEPTH_TEST;
    if (attributes[ATTR_DEPTH_WRITE] != 0) flags |= RF_DEPTH_WRITE;
  }
  if (attributes[ATTR_SHADE_MODE] == 1) flags |= RF_SMOOTH;
  if (attributes[ATTR_BLEND] != 0) flags |= RF_BLEND;
  if (context->material.specular != 0) flags |= RF_SPECULAR;
  if (attributes[ATTR_FOG_MODE] != 0) flags |= RF_FOG;

  // Texturing needs triangles, a bound texture and texture coordinates with
  // their indices.
  const bool textured = packet->type == MODEL_TRIANGLES && attributes[ATTR_TEXTURE] != 0 &&
                        context->boundTexture.texels != nullptr && packet->texCoordBinding != 0 &&
                        packet->texCoords != nullptr && packet->texCoordIndices != nullptr;
  if (textured) {
    flags |= RF_TEXTURE;
    // Texture replacing the colour: neither shading nor specular shows.
    if (attributes[ATTR_TEXTURE_BLEND] == 0) flags &= ~(RF_SMOOTH | RF_SPECULAR);
  }
  return flags;
}
