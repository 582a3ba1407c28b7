// Per-vertex fog amounts: 0 leaves the colour alone, 255 replaces it by the
// fog colour. The amount travels in the top byte of the specular word.
#include <bit>
#include <cmath>

#include "context/context.h"
#include "pipeline/lighting.h"

namespace {

inline float floatAttribute(const RukContext* context, uint32_t id) {
  return std::bit_cast<float>(context->attributes[id]);
}

// Truncates toward zero into 0..255; what is not a number gives 0.
inline uint32_t amountOf(double value) {
  if (value >= 255.0) return 255;
  if (value >= 1.0) return static_cast<uint32_t>(value);
  return 0;
}

struct FogParameters {
  uint32_t mode;
  float start, end, range;  // linear
  float density;            // exponential
};

inline uint32_t fogAmount(const FogParameters& fog, float z) {
  switch (fog.mode) {
    case FOG_LINEAR:
      if (z < fog.start) return 0;
      if (z > fog.end) return 255;
      return amountOf((z - fog.start) / fog.range);
    case FOG_EXP:
      if (z < 0.0f) return 0;
      return amountOf(255.0 * (1.0 - std::exp(-static_cast<double>(fog.density * z))));
    case FOG_EXP2: {
      if (z < 0.0f) return 0;
      const double dz = static_cast<double>(fog.density * z);
      return amountOf(255.0 * (1.0 - std::exp(-(dz * dz))));
    }
    default: return 0;
  }
}

}  // namespace

void computeFogAmounts(RukContext* context, uint32_t cornersPerPrimitive, uint32_t /*pipelineFlags*/, bool flat) {
  FogParameters fog;
  fog.mode = context->attributes[ATTR_FOG_MODE];
  fog.start = floatAttribute(context, ATTR_FOG_START);
  fog.end = floatAttribute(context, ATTR_FOG_END);
  fog.range = (fog.end - fog.start) / 255.0f;
  fog.density = floatAttribute(context, ATTR_FOG_DENSITY);

  const uint32_t computed = flat ? 1 : cornersPerPrimitive;
  BatchEntry* const batch = context->batch;
  for (uint32_t e = 0; e < context->batchCount; ++e) {
    BatchEntry& entry = batch[e];
    if (entry.clipAnd != 0) continue;
    for (uint32_t k = 0; k < computed; ++k) {
      entry.corners[k].specular |= fogAmount(fog, entry.corners[k].z) << 24;
    }
    // A flat primitive carries one fog amount on every corner.
    for (uint32_t k = computed; k < cornersPerPrimitive; ++k) {
      entry.corners[k].specular = entry.corners[0].specular;
    }
  }
}
