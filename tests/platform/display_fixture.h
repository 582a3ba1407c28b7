// Shared set-up of the display tests: a fresh display per test and small
// helpers to build DIB sections the way the renderer does.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/display.h"
#include "platform/win32.h"

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override { displayReset(); }
  void TearDown() override { displayReset(); }
};

// A BITMAPINFO with room for a 256-entry colour table.
struct DibInfo {
  BITMAPINFOHEADER header;
  uint32_t table[256];

  DibInfo(int width, int height, int bitCount, DWORD compression = BI_RGB) {
    std::memset(this, 0, sizeof *this);
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitCount);
    header.biCompression = compression;
  }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
  // 16-bit palette indexes i -> i, as for DIB_PAL_COLORS.
  void identityIndexes() {
    auto* indexes = reinterpret_cast<WORD*>(table);
    for (int i = 0; i < 256; ++i) indexes[i] = static_cast<WORD>(i);
  }
};

// A logical palette of `count` entries.
struct PaletteBlock {
  WORD version = 0x300;
  WORD count = 0;
  PALETTEENTRY entries[256] = {};
  const LOGPALETTE* logical() const { return reinterpret_cast<const LOGPALETTE*>(this); }
};

// The renderer's palette: entry i is explicit system slot i.
inline PaletteBlock explicitPalette() {
  PaletteBlock block;
  block.count = 256;
  for (int i = 0; i < 256; ++i) block.entries[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, PC_EXPLICIT};
  return block;
}
