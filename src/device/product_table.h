// The process-wide table of rounded products of two 8-bit intensities:
// productTable8[a * 256 + b] = (a * b + 128) / 255. Lighting, assembly and the
// rasterizers multiply colour channels through it.
#pragma once
#include <cstdint>

#include "runtime/isa_namespace.h"

extern uint8_t productTable8[256 * 256];

// Builds the table once per process (safe to call from several threads);
// true once it exists.
bool buildProductTable();

inline namespace KELRUK_ISA {

// The row of the table for one factor: productRow(a)[b] = a x b, rounded.
inline const uint8_t* productRow(uint32_t a) { return productTable8 + (a << 8); }

}  // namespace KELRUK_ISA
