// Attribute setters and the context's message buffer.
#include <bit>
#include <cstring>
#include <iterator>

#include "context/attribute_defaults.h"
#include "context/context.h"
#include "raster/raster.h"

static_assert(ATTR_DITHER == RASTER_DITHER_ATTRIBUTE);

namespace {

// Stores one word and lets the rasterizer react. Ids beyond the table are
// refused rather than written past it.
RukStatus storeAttribute(RukContext* context, uint32_t id, uint32_t word) {
  if (id >= ATTRIBUTE_COUNT) return RUK_ERR_BAD_ARGUMENT;
  context->attributes[id] = word;
  rasterAttributeChanged(context->rasterState, id, word);
  return RUK_OK;
}

enum class Flavour { Int, Float, Color };

struct AttributeDefault {
  uint32_t id;
  Flavour flavour;
  uint32_t word;  // the integer, the float's bits, or the colour
};

constexpr uint32_t floatBits(float value) { return std::bit_cast<uint32_t>(value); }

constexpr AttributeDefault DEFAULTS[] = {
    {ATTR_TEXTURE, Flavour::Int, 1},
    {ATTR_SHADE_MODE, Flavour::Int, 1},
    {ATTR_COLOR_MATERIAL, Flavour::Int, 2},
    {ATTR_RESERVED_3, Flavour::Int, 1},
    {ATTR_BLEND, Flavour::Int, 1},
    {ATTR_DEPTH_TEST, Flavour::Int, 1},
    {ATTR_DEPTH_WRITE, Flavour::Int, 1},
    {ATTR_RESERVED_7, Flavour::Int, 1},
    {ATTR_FEATURE_3, Flavour::Int, 0},
    {ATTR_FEATURE_2, Flavour::Int, 0},
    {ATTR_TWO_SIDED, Flavour::Int, 0},
    {ATTR_CULL_BACK, Flavour::Int, 1},
    {ATTR_WRAP_S, Flavour::Int, 1},
    {ATTR_WRAP_T, Flavour::Int, 1},
    {ATTR_DITHER, Flavour::Int, 0},
    {ATTR_TEXTURE_BLEND, Flavour::Int, 2},
    // ATTR_RESERVED_16 has no default: nothing writes or reads it.
    {ATTR_FOG_MODE, Flavour::Int, FOG_NONE},
    {ATTR_RENDER_MODE, Flavour::Int, RENDER_FILLED},
    {ATTR_TEXGEN_S, Flavour::Int, 0},
    {ATTR_TEXGEN_T, Flavour::Int, 0},
    {ATTR_CLEAR_DEPTH, Flavour::Float, floatBits(1000000.0f)},
    {ATTR_FOG_START, Flavour::Float, floatBits(1.0f)},
    {ATTR_FOG_END, Flavour::Float, floatBits(1000000.0f)},
    {ATTR_FOG_DENSITY, Flavour::Float, floatBits(0.0f)},
    {ATTR_TEXGEN_S_PLANE + 0, Flavour::Float, floatBits(1.0f)},
    {ATTR_TEXGEN_S_PLANE + 1, Flavour::Float, floatBits(0.0f)},
    {ATTR_TEXGEN_S_PLANE + 2, Flavour::Float, floatBits(0.0f)},
    {ATTR_TEXGEN_T_PLANE + 0, Flavour::Float, floatBits(0.0f)},
    {ATTR_TEXGEN_T_PLANE + 1, Flavour::Float, floatBits(1.0f)},
    {ATTR_TEXGEN_T_PLANE + 2, Flavour::Float, floatBits(0.0f)},
    {ATTR_CLEAR_COLOR, Flavour::Color, 0},
    {ATTR_FOG_COLOR, Flavour::Color, 0},
    {ATTR_RESERVED_33, Flavour::Color, 0},
    {ATTR_TEXTURE_FILTER, Flavour::Int, 0},
    {ATTR_FOG_PER_PIXEL, Flavour::Int, 0},
    {ATTR_SEPARATE_SPECULAR, Flavour::Int, 0},
    {ATTR_FEATURE_5, Flavour::Int, 0},
};
static_assert(std::size(DEFAULTS) == ATTRIBUTE_COUNT - 1, "every attribute but 16 has a default");

}  // namespace

void applyDefaultAttributes(RukContext* context) {
  for (const AttributeDefault& entry : DEFAULTS) {
    switch (entry.flavour) {
      case Flavour::Int: setAttributeInt(context, entry.id, static_cast<int32_t>(entry.word)); break;
      case Flavour::Float: setAttributeFloat(context, entry.id, std::bit_cast<float>(entry.word)); break;
      case Flavour::Color: setAttributeColor(context, entry.id, entry.word); break;
    }
  }
}

RukStatus setAttributeInt(RukContext* context, uint32_t id, int32_t value) {
  return storeAttribute(context, id, static_cast<uint32_t>(value));
}

RukStatus setAttributeEnum(RukContext* context, uint32_t id, uint32_t value) {
  return storeAttribute(context, id, value);
}

RukStatus setAttributeFloat(RukContext* context, uint32_t id, float value) {
  return storeAttribute(context, id, std::bit_cast<uint32_t>(value));
}

RukStatus setAttributeColor(RukContext* context, uint32_t id, uint32_t color) {
  return storeAttribute(context, id, color & 0xFFFFFFu);
}

float attributeFloat(const RukContext* context, uint32_t id) {
  return id < ATTRIBUTE_COUNT ? std::bit_cast<float>(context->attributes[id]) : 0.0f;
}

void recordError(RukContext* context, const char* text) {
  std::strncpy(context->errorMessage, text != nullptr ? text : "", ERROR_MESSAGE_SIZE);
  context->errorMessage[ERROR_MESSAGE_SIZE - 1] = '\0';
}

const char* errorMessageOf(const RukContext* context) { return context->errorMessage; }
