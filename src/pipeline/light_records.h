// The material and light records that a context holds. The lighting that
// uses them is in pipeline/lighting.h.
#pragma once
#include <cstdint>

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
