// The inverse colour maps of an indexed context: for a coarse grid of
// colours, the nearest palette entry.
#include "device/color_model.h"

namespace {

// levels^3 entries, index = b * levels^2 + g * levels + r, each the nearest
// palette index to (step * r, step * g, step * b); an empty palette stores 255.
void fillInverseMap(const RukColorModel* model, uint8_t* map, uint32_t levels, uint32_t step) {
  uint32_t index = 0;
  for (uint32_t b = 0; b < levels; ++b) {
    for (uint32_t g = 0; g < levels; ++g) {
      for (uint32_t r = 0; r < levels; ++r) {
        map[index++] = static_cast<uint8_t>(nearestPaletteIndex(model, step * r, step * g, step * b));
      }
    }
  }
}

}  // namespace

void buildInverseColorMaps(const RukColorModel* model, uint8_t* map6, uint8_t* map12) {
  fillInverseMap(model, map6, 4, 85);
  fillInverseMap(model, map12, 16, 17);
}
