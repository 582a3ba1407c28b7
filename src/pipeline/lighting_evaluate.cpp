// Lighting evaluations: emission, the ambient term and each light's diffuse
// and specular contributions, in integer channel accumulators. Four
// evaluations go together, one per lane of single-precision vectors: every
// lane does exactly the operations of one evaluation in the same order, so a
// lane's result does not depend on its neighbours, and the latency of the
// square roots and divisions of one evaluation overlaps with the others'.
#include <cmath>

#include "context/context.h"
#include "device/product_table.h"
#include "pipeline/lighting.h"
#include "pipeline/lighting_base.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr uint32_t N = LIGHTING_LANES;
using F4 = float __attribute__((vector_size(4 * N)));
using I4 = int32_t __attribute__((vector_size(4 * N)));
static_assert(N == 4);

inline F4 squareRoot(F4 x) {
#if defined(__SSE2__)
  return _mm_sqrt_ps(x);
#else
  for (uint32_t l = 0; l < N; ++l) x[l] = std::sqrt(x[l]);
  return x;
#endif
}

inline bool anyLane(I4 mask) {
  for (uint32_t l = 0; l < N; ++l) {
    if (mask[l] != 0) return true;
  }
  return false;
}

struct Vec3 {
  F4 x, y, z;
};

// Not F4{} + value: adding zero turns -0 into +0, so it is no copy.
inline F4 splat(float value) { return F4{value, value, value, value}; }
inline Vec3 splat3(const float* v) { return {splat(v[0]), splat(v[1]), splat(v[2])}; }
inline Vec3 load3(const float (&v)[3][N]) {
  Vec3 out;
  __builtin_memcpy(&out.x, v[0], sizeof out.x);
  __builtin_memcpy(&out.y, v[1], sizeof out.y);
  __builtin_memcpy(&out.z, v[2], sizeof out.z);
  return out;
}
inline F4 dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator/(const Vec3& a, F4 d) { return {a.x / d, a.y / d, a.z / d}; }
inline Vec3 select(I4 mask, const Vec3& a, const Vec3& b) {
  return {mask ? a.x : b.x, mask ? a.y : b.y, mask ? a.z : b.z};
}

// A light's product-table row entries for the material channel of each lane;
// lanes of one material (`uniform`) share one entry.
inline F4 rowValues(const uint8_t* row, I4 channel, bool uniform) {
  if (uniform) return splat(static_cast<float>(row[channel[0]]));
  F4 out;
  for (uint32_t l = 0; l < N; ++l) out[l] = static_cast<float>(row[channel[l]]);
  return out;
}

// Adds a contribution to a channel accumulator, truncating the sum toward
// zero, in the lanes set in `on`; there the contribution is positive (at
// most infinite) and the accumulator at least 0. The accumulator stops at
// 255: saturating early gives the same clamped result and keeps the
// conversion defined however large the factors grow.
inline I4 addTruncated(I4 accumulator, F4 contribution, I4 on) {
  const F4 sum = __builtin_convertvector(accumulator, F4) + contribution;
  const F4 capped = sum < 255.0f ? sum : splat(255.0f);
  return on ? __builtin_convertvector(capped, I4) : accumulator;
}

// Accumulators, each clamped at 255, as 0xRRGGBB words.
inline void packChannels(const I4 (&rgb)[3], uint32_t* out) {
  I4 word{};
  for (uint32_t c = 0; c < 3; ++c) {
    const I4 value = rgb[c] < 255 ? rgb[c] : I4{} + 255;
    word |= value << static_cast<int32_t>(16 - 8 * c);
  }
  __builtin_memcpy(out, &word, sizeof word);
}

}  // namespace

void evaluateLightingLanes(const RukContext* context, const LightingLanes& lanes, uint32_t* outColor,
                           uint32_t* outSpecular) {
  I4 color[3], specular[3] = {};
  I4 diffuseChannel[3], specularChannel[3];
  I4 withSpecular;
  F4 shininess;
  // Usually every lane has the same material: its channels are found once.
  bool uniform = true;
  for (uint32_t l = 1; l < N; ++l) {
    uniform = uniform && __builtin_memcmp(&lanes.material[l], &lanes.material[0], sizeof(RukMaterial)) == 0;
  }
  for (uint32_t l = 0; l < (uniform ? 1 : N); ++l) {
    const RukMaterial& material = lanes.material[l];
    int32_t base[3];
    baseLightingChannels(context, &material, base);
    for (uint32_t c = 0; c < 3; ++c) {
      color[c][l] = base[c];
      diffuseChannel[c][l] = static_cast<int32_t>(lightingChannel(material.diffuse, c));
      specularChannel[c][l] = static_cast<int32_t>(lightingChannel(material.specular, c));
    }
    withSpecular[l] = material.specular != 0 ? -1 : 0;
    shininess[l] = material.shininess;
  }
  if (uniform) {
    for (uint32_t c = 0; c < 3; ++c) {
      color[c] = I4{} + color[c][0];
      diffuseChannel[c] = I4{} + diffuseChannel[c][0];
      specularChannel[c] = I4{} + specularChannel[c][0];
    }
    withSpecular = I4{} + withSpecular[0];
    shininess = splat(shininess[0]);
  }
  const Vec3 position = load3(lanes.position);
  const Vec3 normal = load3(lanes.normal);

  Vec3 view{};  // from the eye to the vertex, unit
  const bool anySpecular = anyLane(withSpecular);
  if (anySpecular && context->lightCount != 0) {
    view = position - splat3(context->eyeInModel);
    const F4 length = squareRoot(dot(view, view));
    view = select(length > 0.0f, view / length, view);
  }

  for (uint32_t i = 0; i < context->lightCount; ++i) {
    const RukLight& light = context->lights[i];
    F4 attenuation = splat(1.0f);
    F4 diffuse;
    Vec3 toVertex;  // direction in which the light reaches the vertex
    I4 on = I4{} - 1;
    if (light.type == LIGHT_DIRECTIONAL) {
      const Vec3 direction = splat3(light.modelDirection);
      diffuse = -dot(normal, direction);
      toVertex = direction;
    } else {
      Vec3 toLight = splat3(light.modelPosition) - position;
      const F4 distanceSquared = dot(toLight, toLight);
      on &= ~(distanceSquared > light.rangeSquared);
      const F4 distance = squareRoot(distanceSquared);
      // A light at the vertex shines along the normal.
      toLight = select(distance > 1e-6f, toLight / distance, normal);
      if (light.type == LIGHT_SPOT) {
        const F4 cosine = -dot(splat3(light.modelDirection), toLight);
        on &= ~(cosine < light.cosOuter);
        attenuation =
            cosine < light.cosInner ? (cosine - light.cosOuter) / (light.cosInner - light.cosOuter) : attenuation;
      }
      const F4 q = light.quadratic * distanceSquared + light.linear * distance + light.constant;
      attenuation = q > 0.0f ? attenuation / q : attenuation;
      diffuse = dot(normal, toLight) * attenuation;
      toVertex = -toLight;
    }
    on &= diffuse > 0.0f;
    if (!anyLane(on)) continue;

    if (anySpecular) {
      Vec3 half = toVertex + view;
      const F4 halfLength = squareRoot(dot(half, half));
      I4 lit = on & withSpecular & (halfLength > 1e-6f);
      half = half / halfLength;
      const F4 t = -dot(normal, half);
      lit &= t > 0.0f;
      // t / (n - n t + t) approximates t to the power n without pow().
      const F4 n = shininess;
      const F4 factor = t / (n - n * t + t) * attenuation;
      lit &= factor > 1e-6f;
      if (anyLane(lit)) {
        for (uint32_t c = 0; c < 3; ++c) {
          specular[c] =
              addTruncated(specular[c], rowValues(light.colorRows[c], specularChannel[c], uniform) * factor, lit);
        }
      }
    }
    for (uint32_t c = 0; c < 3; ++c) {
      color[c] = addTruncated(color[c], rowValues(light.colorRows[c], diffuseChannel[c], uniform) * diffuse, on);
    }
  }

  packChannels(color, outColor);
  // Lanes without a specular colour never added to theirs: their word is 0.
  packChannels(specular, outSpecular);
}

void evaluateLighting(const RukContext* context, const float* position, const float* normal,
                      const RukMaterial* material, uint32_t* outColor, uint32_t* outSpecular) {
  LightingLanes lanes;
  for (uint32_t l = 0; l < N; ++l) {
    for (uint32_t k = 0; k < 3; ++k) {
      lanes.position[k][l] = position[k];
      lanes.normal[k][l] = normal[k];
    }
    lanes.material[l] = *material;
  }
  uint32_t color[N], specular[N];
  evaluateLightingLanes(context, lanes, color, specular);
  *outColor = color[0];
  *outSpecular = specular[0];
}
