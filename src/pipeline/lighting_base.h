// The part of a lighting evaluation that no light contributes to: emission
// plus the material's ambient colour scaled by the global ambient light, as
// channel accumulators, and the packing of accumulators into a colour word.
#pragma once
#include <cstdint>

#include "context/context.h"
#include "device/product_table.h"

inline uint32_t lightingChannel(uint32_t color, uint32_t c) { return (color >> (16 - 8 * c)) & 0xFFu; }

inline void baseLightingChannels(const RukContext* context, const RukMaterial* material, int32_t* color) {
  for (uint32_t c = 0; c < 3; ++c) color[c] = static_cast<int32_t>(lightingChannel(material->emission, c));
  if (material->ambient != 0 && context->ambientLight != 0) {
    for (uint32_t c = 0; c < 3; ++c) {
      color[c] += productRow(lightingChannel(context->ambientLight, c))[lightingChannel(material->ambient, c)];
    }
  }
}

// Accumulators, each clamped at 255, as a 0xRRGGBB word.
inline uint32_t packLightingChannels(const int32_t* rgb) {
  uint32_t word = 0;
  for (uint32_t c = 0; c < 3; ++c) {
    const int32_t value = rgb[c] < 255 ? rgb[c] : 255;
    word |= static_cast<uint32_t>(value) << (16 - 8 * c);
  }
  return word;
}
