// The inverse colour maps of an indexed context: for a coarse grid of
// colours, the nearest palette entry.
#include <cstdint>

#include "device/color_model.h"

namespace {

// levels^3 entries, index = b * levels^2 + g * levels + r, each the nearest
// palette index to (step * r, step * g, step * b); an empty palette stores 255.
// Four grid colours are searched at once, one per vector lane (the
// baseline's vector width), with the palette in the inner loop: entries are
// taken in order and replace the nearest only when strictly nearer, so the
// lowest of equally near indexes wins, as in nearestPaletteIndex. Distances
// stay below 2^31, so the signed comparison is exact.
void fillInverseMap(const RukColorModel* model, uint8_t* map, uint32_t levels, uint32_t step) {
  using Lanes = int32_t __attribute__((vector_size(16)));
  constexpr uint32_t width = sizeof(Lanes) / sizeof(int32_t);
  const uint32_t count = levels * levels * levels;  // a multiple of 4
  for (uint32_t first = 0; first < count; first += width) {
    Lanes red, green, blue;
    for (uint32_t k = 0; k < width; ++k) {
      const uint32_t q = first + k;
      red[k] = static_cast<int32_t>(step * (q % levels));
      green[k] = static_cast<int32_t>(step * (q / levels % levels));
      blue[k] = static_cast<int32_t>(step * (q / (levels * levels)));
    }
    Lanes best = Lanes{} + INT32_MAX;
    Lanes nearest = Lanes{} + 255;
    for (uint32_t i = 0; i < model->paletteSize; ++i) {
      const uint32_t entry = model->palette[i];
      const Lanes dr = static_cast<int32_t>((entry >> 16) & 0xFF) - red;
      const Lanes dg = static_cast<int32_t>((entry >> 8) & 0xFF) - green;
      const Lanes db = static_cast<int32_t>(entry & 0xFF) - blue;
      const Lanes distance = dg * dg + dr * dr + db * db;
      const Lanes nearer = best > distance;
      best = (distance & nearer) | (best & ~nearer);
      nearest = ((Lanes{} + static_cast<int32_t>(i)) & nearer) | (nearest & ~nearer);
    }
    for (uint32_t k = 0; k < width; ++k) map[first + k] = static_cast<uint8_t>(nearest[k]);
  }
}

}  // namespace

void buildInverseColorMaps(const RukColorModel* model, uint8_t* map6, uint8_t* map12) {
  fillInverseMap(model, map6, 4, 85);
  fillInverseMap(model, map12, 16, 17);
}
