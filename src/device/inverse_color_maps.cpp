// The inverse colour maps of an indexed context: for a coarse grid of
// colours, the nearest palette entry.
#include <immintrin.h>

#include <cstdint>

#include "device/color_model.h"

namespace {

// levels^3 entries, index = b * levels^2 + g * levels + r, each the nearest
// palette index to (step * r, step * g, step * b); an empty palette stores 255.
// Eight grid colours are searched at once, one per vector lane, with the
// palette in the inner loop: entries are taken in order and replace the
// nearest only when strictly nearer, so the lowest of equally near indexes
// wins, as in nearestPaletteIndex. Distances stay below 2^31, so the signed
// comparison is exact.
void fillInverseMap(const RukColorModel* model, uint8_t* map, uint32_t levels, uint32_t step) {
  const uint32_t count = levels * levels * levels;  // a multiple of 8
  for (uint32_t first = 0; first < count; first += 8) {
    alignas(32) int32_t lane[3][8];
    for (uint32_t k = 0; k < 8; ++k) {
      const uint32_t q = first + k;
      lane[0][k] = static_cast<int32_t>(step * (q % levels));
      lane[1][k] = static_cast<int32_t>(step * (q / levels % levels));
      lane[2][k] = static_cast<int32_t>(step * (q / (levels * levels)));
    }
    const __m256i red = _mm256_load_si256(reinterpret_cast<const __m256i*>(lane[0]));
    const __m256i green = _mm256_load_si256(reinterpret_cast<const __m256i*>(lane[1]));
    const __m256i blue = _mm256_load_si256(reinterpret_cast<const __m256i*>(lane[2]));
    __m256i best = _mm256_set1_epi32(INT32_MAX);
    __m256i nearest = _mm256_set1_epi32(255);
    for (uint32_t i = 0; i < model->paletteSize; ++i) {
      const uint32_t entry = model->palette[i];
      const __m256i dr = _mm256_sub_epi32(_mm256_set1_epi32(static_cast<int32_t>((entry >> 16) & 0xFF)), red);
      const __m256i dg = _mm256_sub_epi32(_mm256_set1_epi32(static_cast<int32_t>((entry >> 8) & 0xFF)), green);
      const __m256i db = _mm256_sub_epi32(_mm256_set1_epi32(static_cast<int32_t>(entry & 0xFF)), blue);
      const __m256i distance = _mm256_add_epi32(
          _mm256_add_epi32(_mm256_mullo_epi32(dg, dg), _mm256_mullo_epi32(dr, dr)), _mm256_mullo_epi32(db, db));
      const __m256i nearer = _mm256_cmpgt_epi32(best, distance);
      best = _mm256_blendv_epi8(best, distance, nearer);
      nearest = _mm256_blendv_epi8(nearest, _mm256_set1_epi32(static_cast<int32_t>(i)), nearer);
    }
    alignas(32) uint32_t found[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(found), nearest);
    for (uint32_t k = 0; k < 8; ++k) map[first + k] = static_cast<uint8_t>(found[k]);
  }
}

}  // namespace

void buildInverseColorMaps(const RukColorModel* model, uint8_t* map6, uint8_t* map12) {
  fillInverseMap(model, map6, 4, 85);
  fillInverseMap(model, map12, 16, 17);
}
