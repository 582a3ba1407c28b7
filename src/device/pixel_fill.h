// Block fills of colour-buffer runs, one routine per pixel size. Stores go
// through memcpy so that a run may start at any byte address.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pixel_fill {

template <class Word>
inline void storeWord(uint8_t* at, Word value) {
  std::memcpy(at, &value, sizeof value);
}

// `count` copies of a 32-bit word: whole 32-byte blocks, then the last few
// words. A plain word loop is not vectorised at this optimisation level and
// runs several times slower than memset.
inline void fillWords(uint8_t* at, size_t count, uint32_t value) {
  using Block = uint32_t __attribute__((vector_size(32)));
  const Block block = {value, value, value, value, value, value, value, value};
  const size_t bytes = count * sizeof(uint32_t);
  size_t i = 0;
  for (; i + sizeof(Block) <= bytes; i += sizeof(Block)) std::memcpy(at + i, &block, sizeof(Block));
  for (; i < bytes; i += sizeof(uint32_t)) storeWord(at + i, value);
}

inline void fill8(uint8_t* at, size_t pixels, uint32_t pixel) {
  std::memset(at, static_cast<int>(pixel & 0xFF), pixels);
}

// 16-bit pixels are written two at a time as 32-bit words; an odd last pixel
// is written on its own.
inline void fill16(uint8_t* at, size_t pixels, uint32_t pixel) {
  const uint32_t single = pixel & 0xFFFF;
  fillWords(at, pixels / 2, single << 16 | single);
  if (pixels & 1) storeWord<uint16_t>(at + (pixels - 1) * 2, static_cast<uint16_t>(single));
}

// 24-bit pixels (bytes blue, green, red) are written four at a time as three
// 32-bit words; the last zero to three pixels byte by byte.
inline void fill24(uint8_t* at, size_t pixels, uint32_t pixel) {
  uint8_t pattern[12];
  for (int i = 0; i < 4; ++i) {
    pattern[3 * i] = static_cast<uint8_t>(pixel);
    pattern[3 * i + 1] = static_cast<uint8_t>(pixel >> 8);
    pattern[3 * i + 2] = static_cast<uint8_t>(pixel >> 16);
  }
  uint32_t words[3];
  std::memcpy(words, pattern, sizeof words);
  const size_t groups = pixels / 4;
  for (size_t g = 0; g < groups; ++g) {
    uint8_t* group = at + g * 12;
    storeWord(group, words[0]);
    storeWord(group + 4, words[1]);
    storeWord(group + 8, words[2]);
  }
  std::memcpy(at + groups * 12, pattern, (pixels % 4) * 3);
}

inline void fill32(uint8_t* at, size_t pixels, uint32_t pixel) { fillWords(at, pixels, pixel); }

}  // namespace pixel_fill
