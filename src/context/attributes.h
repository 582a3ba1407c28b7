// Attribute ids of a context, their defaults, and the Java feature numbers.
#pragma once
#include <cstdint>

inline constexpr uint32_t ATTR_TEXTURE = 0;
inline constexpr uint32_t ATTR_SHADE_MODE = 1;
inline constexpr uint32_t ATTR_COLOR_MATERIAL = 2;
inline constexpr uint32_t ATTR_RESERVED_3 = 3;
inline constexpr uint32_t ATTR_BLEND = 4;
inline constexpr uint32_t ATTR_DEPTH_TEST = 5;
inline constexpr uint32_t ATTR_DEPTH_WRITE = 6;
inline constexpr uint32_t ATTR_RESERVED_7 = 7;
inline constexpr uint32_t ATTR_FEATURE_3 = 8;
inline constexpr uint32_t ATTR_FEATURE_2 = 9;
inline constexpr uint32_t ATTR_TWO_SIDED = 10;
inline constexpr uint32_t ATTR_CULL_BACK = 11;
inline constexpr uint32_t ATTR_WRAP_S = 12;
inline constexpr uint32_t ATTR_WRAP_T = 13;
inline constexpr uint32_t ATTR_DITHER = 14;
inline constexpr uint32_t ATTR_TEXTURE_BLEND = 15;
inline constexpr uint32_t ATTR_RESERVED_16 = 16;
inline constexpr uint32_t ATTR_FOG_MODE = 17;
inline constexpr uint32_t ATTR_RENDER_MODE = 18;
inline constexpr uint32_t ATTR_TEXGEN_S = 19;
inline constexpr uint32_t ATTR_TEXGEN_T = 20;
inline constexpr uint32_t ATTR_CLEAR_DEPTH = 21;
inline constexpr uint32_t ATTR_FOG_START = 22;
inline constexpr uint32_t ATTR_FOG_END = 23;
inline constexpr uint32_t ATTR_FOG_DENSITY = 24;
inline constexpr uint32_t ATTR_TEXGEN_S_PLANE = 25;  // 25..27
inline constexpr uint32_t ATTR_TEXGEN_T_PLANE = 28;  // 28..30
inline constexpr uint32_t ATTR_CLEAR_COLOR = 31;
inline constexpr uint32_t ATTR_FOG_COLOR = 32;
inline constexpr uint32_t ATTR_RESERVED_33 = 33;
inline constexpr uint32_t ATTR_TEXTURE_FILTER = 34;
inline constexpr uint32_t ATTR_FOG_PER_PIXEL = 35;
inline constexpr uint32_t ATTR_SEPARATE_SPECULAR = 36;
inline constexpr uint32_t ATTR_FEATURE_5 = 37;
inline constexpr uint32_t ATTRIBUTE_COUNT = 38;

// Render modes (attribute 18).
inline constexpr uint32_t RENDER_POINTS = 0;
inline constexpr uint32_t RENDER_EDGES = 1;
inline constexpr uint32_t RENDER_FILLED = 2;

// Fog modes (attribute 17).
inline constexpr uint32_t FOG_NONE = 0;
inline constexpr uint32_t FOG_LINEAR = 1;
inline constexpr uint32_t FOG_EXP = 2;
inline constexpr uint32_t FOG_EXP2 = 3;

// The attribute each Java feature number (0..7) switches.
inline constexpr uint32_t FEATURE_ATTRIBUTE[8] = {ATTR_BLEND,         ATTR_TEXTURE,          ATTR_FEATURE_2,
                                                  ATTR_FEATURE_3,     ATTR_DITHER,           ATTR_FEATURE_5,
                                                  ATTR_FOG_PER_PIXEL, ATTR_SEPARATE_SPECULAR};
