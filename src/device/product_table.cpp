// The process-wide table of rounded 8-bit products.
#include "device/product_table.h"

uint8_t productTable8[256 * 256];

namespace {

bool fillProductTable() {
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t b = 0; b < 256; ++b) {
      productTable8[a * 256 + b] = static_cast<uint8_t>((a * b + 128) / 255);
    }
  }
  return true;
}

}  // namespace

bool buildProductTable() {
  // A function-local static is initialised exactly once, even when several
  // threads create their first contexts at the same time.
  static const bool built = fillProductTable();
  return built;
}
