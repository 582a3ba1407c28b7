// One lighting evaluation: emission, the ambient term and each light's
// diffuse and specular contributions, in integer channel accumulators.
#include <cmath>

#include "context/context.h"
#include "device/product_table.h"
#include "pipeline/lighting.h"
#include "pipeline/lighting_base.h"
#include "pipeline/lighting_vectors.h"

namespace {

// Adds a non-negative contribution to a channel accumulator, truncating the
// sum toward zero. The accumulator stops at 255: every contribution is
// non-negative, so saturating early gives the same clamped result and keeps
// the conversion defined however large the factors grow. A contribution that
// is not a number adds nothing.
inline int32_t addTruncated(int32_t accumulator, float contribution) {
  const float sum = static_cast<float>(accumulator) + contribution;
  if (sum >= 255.0f) return 255;
  if (sum >= 0.0f) return static_cast<int32_t>(sum);
  return accumulator;
}

}  // namespace

void evaluateLighting(const RukContext* context, const float* position, const float* normal,
                      const RukMaterial* material, uint32_t* outColor, uint32_t* outSpecular) {
  int32_t color[3], specular[3] = {0, 0, 0};
  baseLightingChannels(context, material, color);

  const bool withSpecular = material->specular != 0;
  float view[3] = {0.0f, 0.0f, 0.0f};  // from the eye to the vertex, unit
  if (withSpecular && context->lightCount != 0) {
    for (int i = 0; i < 3; ++i) view[i] = position[i] - context->eyeInModel[i];
    const float length = std::sqrt(dot3(view, view));
    if (length > 0.0f) {
      for (float& v : view) v /= length;
    }
  }
  uint32_t diffuseChannel[3], specularChannel[3];
  for (uint32_t c = 0; c < 3; ++c) {
    diffuseChannel[c] = lightingChannel(material->diffuse, c);
    specularChannel[c] = lightingChannel(material->specular, c);
  }

  for (uint32_t i = 0; i < context->lightCount; ++i) {
    const RukLight& light = context->lights[i];
    float attenuation = 1.0f;
    float diffuse;
    float toVertex[3];  // direction in which the light reaches the vertex
    if (light.type == LIGHT_DIRECTIONAL) {
      diffuse = -dot3(normal, light.modelDirection);
      for (int k = 0; k < 3; ++k) toVertex[k] = light.modelDirection[k];
    } else {
      float toLight[3];
      for (int k = 0; k < 3; ++k) toLight[k] = light.modelPosition[k] - position[k];
      const float distanceSquared = dot3(toLight, toLight);
      if (distanceSquared > light.rangeSquared) continue;
      const float distance = std::sqrt(distanceSquared);
      if (distance > 1e-6f) {
        for (float& v : toLight) v /= distance;
      } else {
        // A light at the vertex shines along the normal.
        for (int k = 0; k < 3; ++k) toLight[k] = normal[k];
      }
      if (light.type == LIGHT_SPOT) {
        const float cosine = -dot3(light.modelDirection, toLight);
        if (cosine < light.cosOuter) continue;
        if (cosine < light.cosInner) {
          attenuation = (cosine - light.cosOuter) / (light.cosInner - light.cosOuter);
        }
      }
      const float q = light.quadratic * distanceSquared + light.linear * distance + light.constant;
      if (q > 0.0f) attenuation /= q;
      diffuse = dot3(normal, toLight) * attenuation;
      for (int k = 0; k < 3; ++k) toVertex[k] = -toLight[k];
    }
    if (!(diffuse > 0.0f)) continue;

    if (withSpecular) {
      float half[3];
      for (int k = 0; k < 3; ++k) half[k] = toVertex[k] + view[k];
      const float halfLength = std::sqrt(dot3(half, half));
      if (halfLength > 1e-6f) {
        for (float& v : half) v /= halfLength;
        const float t = -dot3(normal, half);
        if (t > 0.0f) {
          // t / (n - n t + t) approximates t to the power n without pow().
          const float n = material->shininess;
          const float factor = t / (n - n * t + t) * attenuation;
          if (factor > 1e-6f) {
            for (uint32_t c = 0; c < 3; ++c) {
              specular[c] =
                  addTruncated(specular[c], static_cast<float>(light.colorRows[c][specularChannel[c]]) * factor);
            }
          }
        }
      }
    }
    for (uint32_t c = 0; c < 3; ++c) {
      color[c] = addTruncated(color[c], static_cast<float>(light.colorRows[c][diffuseChannel[c]]) * diffuse);
    }
  }

  *outColor = packLightingChannels(color);
  *outSpecular = withSpecular ? packLightingChannels(specular) : 0u;
}
