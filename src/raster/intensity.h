// The 8.16 intensities of the scan converters and the rounded product of two
// intensities. Interpolated 8.16 quantities may drift past 0..255 at a
// primitive's rim; they are clamped before they index a table or are encoded.
#pragma once
#include <cstdint>
#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

// An interpolated 8.16 quantity clamped back: its integer part is 0..255.
constexpr int32_t clampIntensity816(int32_t value) { return value < 0 ? 0 : (value > 0xFFFFFF ? 0xFFFFFF : value); }

// The clamped integer part of an 8.16 quantity: the intensity 0..255.
constexpr uint32_t intensityOf816(int32_t value) {
  const int32_t whole = value >> 16;
  return static_cast<uint32_t>(whole < 0 ? 0 : (whole > 255 ? 255 : whole));
}

// (a x b + 128) / 255, the entry of productTable8, without a division: with
// t = a b + 128, (t + (t >> 8) + 1) >> 8 gives the same for every pair of
// intensities. The eight-pixel spans multiply this way.
constexpr uint32_t roundedProduct255(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return (t + (t >> 8) + 1) >> 8;
}

}  // namespace KELRUK_ISA
