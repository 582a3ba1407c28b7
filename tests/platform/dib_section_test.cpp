// DIB sections: layout, zeroed memory below 4 GiB, the 84-byte description,
// channel masks and the ways creation fails.
#include <sys/mman.h>

#include "display_fixture.h"

namespace {

struct StrideCase {
  int width;
  int bitCount;
  int stride;
};

void PrintTo(const StrideCase& c, std::ostream* os) { *os << c.width << " pixels of " << c.bitCount << " bits"; }

class DibStride : public DisplayTest, public ::testing::WithParamInterface<StrideCase> {};

TEST_P(DibStride, RowsArePaddedToFourBytesAndZeroed) {
  const StrideCase c = GetParam();
  DibInfo dib(c.width, -3, c.bitCount);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, &bits, 0, 0);
  ASSERT_NE(bitmap, 0u);
  ASSERT_NE(bits, nullptr);
  EXPECT_LT(reinterpret_cast<uintptr_t>(bits) + 3u * c.stride, uintptr_t{1} << 32);

  DIBSECTION section;
  std::memset(&section, 0xAB, sizeof section);
  ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), 84);
  EXPECT_EQ(section.dsBm.bmWidthBytes, c.stride);
  EXPECT_EQ(section.dsBm.bmWidth, c.width);
  EXPECT_EQ(section.dsBm.bmHeight, 3);
  EXPECT_EQ(section.dsBm.bmBitsPixel, c.bitCount);
  EXPECT_EQ(section.dsBm.bmPlanes, 1);
  EXPECT_EQ(bitmapBits(section.dsBm), bits);
  EXPECT_EQ(section.dsBmih.biSize, 40u);
  EXPECT_EQ(section.dsBmih.biHeight, -3);
  EXPECT_EQ(section.dsBmih.biSizeImage, 3u * c.stride);
  EXPECT_EQ(section.dshSection, 0u);
  EXPECT_EQ(section.dsOffset, 0u);

  const auto* bytes = static_cast<const unsigned char*>(bits);
  for (int i = 0; i < 3 * c.stride; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
  EXPECT_TRUE(DeleteObject(bitmap));
}

INSTANTIATE_TEST_SUITE_P(Formats, DibStride,
                         ::testing::Values(StrideCase{1, 8, 4}, StrideCase{3, 8, 4}, StrideCase{5, 8, 8},
                                           StrideCase{2, 16, 4}, StrideCase{3, 16, 8}, StrideCase{3, 24, 12},
                                           StrideCase{4, 24, 12}, StrideCase{5, 24, 16}, StrideCase{1, 32, 4},
                                           StrideCase{7, 32, 28}));

TEST_F(DisplayTest, DescriptionOfBitmapAloneIs24Bytes) {
  DibInfo dib(4, 4, 32);
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, nullptr, 0, 0);
  BITMAP plain{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof plain, &plain), 24);
  EXPECT_EQ(plain.bmHeight, 4);
  EXPECT_NE(plain.bmBits, 0u);
  EXPECT_EQ(GetObjectA(bitmap, 10, &plain), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

struct MaskCase {
  int depth;
  int bitCount;
  uint32_t masks[3];
  uint32_t reported[3];
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.bitCount << "-bit DIB on a " << c.depth << "-bit display"; }

class DibMasks : public DisplayTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(DibMasks, ReportsTheDisplayMasksAtItsDepth) {
  const MaskCase c = GetParam();
  displaySetDepth(c.depth);
  displaySetMasks(c.masks[0], c.masks[1], c.masks[2]);
  DibInfo dib(2, -2, c.bitCount);
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, nullptr, 0, 0);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectA(bitmap, 84, &section), 84);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(section.dsBitfields[i], c.reported[i]) << "mask " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DibMasks,
    ::testing::Values(MaskCase{16, 16, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0, 0x001F}},
                      MaskCase{16, 16, {0, 0, 0}, {0, 0, 0}},
                      MaskCase{32, 32, {0xFF0000, 0xFF00, 0xFF}, {0xFF0000, 0xFF00, 0xFF}},
                      MaskCase{32, 32, {0, 0, 0}, {0, 0, 0}},
                      // A DIB section not of the display's depth has Windows' own layout.
                      MaskCase{16, 32, {0xF800, 0x07E0, 0x001F}, {0, 0, 0}},
                      MaskCase{8, 8, {0xF800, 0x07E0, 0x001F}, {0, 0, 0}}));

TEST_F(DisplayTest, BitfieldsDibReportsItsOwnMasks) {
  DibInfo dib(2, 2, 16, BI_BITFIELDS);
  dib.table[0] = 0xF800;
  dib.table[1] = 0x07E0;
  dib.table[2] = 0x001F;
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, nullptr, 0, 0);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectA(bitmap, 84, &section), 84);
  EXPECT_EQ(section.dsBitfields[0], 0xF800u);
  EXPECT_EQ(section.dsBitfields[1], 0x07E0u);
  EXPECT_EQ(section.dsBitfields[2], 0x001Fu);
}

struct BadCase {
  const char* what;
  int width;
  int height;
  int bitCount;
  int planes;
  DWORD compression;
  UINT usage;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.what; }

class DibRejects : public DisplayTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(DibRejects, FailsWithInvalidParameter) {
  const BadCase c = GetParam();
  DibInfo dib(c.width, c.height, c.bitCount, c.compression);
  dib.header.biPlanes = static_cast<WORD>(c.planes);
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(0, dib.info(), c.usage, &bits, 0, 0), 0u) << c.what;
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(displayCounts().bitmaps, 0);
}

INSTANTIATE_TEST_SUITE_P(Headers, DibRejects,
                         ::testing::Values(BadCase{"zero width", 0, 4, 32, 1, BI_RGB, DIB_RGB_COLORS},
                                           BadCase{"negative width", -4, 4, 32, 1, BI_RGB, DIB_RGB_COLORS},
                                           BadCase{"zero height", 4, 0, 32, 1, BI_RGB, DIB_RGB_COLORS},
                                           BadCase{"4 bits", 4, 4, 4, 1, BI_RGB, DIB_RGB_COLORS},
                                           BadCase{"15 bits", 4, 4, 15, 1, BI_RGB, DIB_RGB_COLORS},
                                           BadCase{"two planes", 4, 4, 32, 2, BI_RGB, DIB_RGB_COLORS},
                                           BadCase{"bitfields at 24", 4, 4, 24, 1, BI_BITFIELDS, DIB_RGB_COLORS},
                                           BadCase{"usage 2", 4, 4, 32, 1, BI_RGB, 2}));

TEST_F(DisplayTest, DibCreationFailures) {
  DibInfo dib(4, 4, 32);
  void* bits = nullptr;
  EXPECT_EQ(CreateDIBSection(0, nullptr, DIB_RGB_COLORS, &bits, 0, 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  displayFailNextCreateDIBSection();
  EXPECT_EQ(CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_NE(CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, &bits, 0, 0), 0u) << "the injection fails one call";

  EXPECT_EQ(CreateDIBSection(0x7777, dib.info(), DIB_PAL_COLORS, &bits, 0, 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  DibInfo huge(1 << 16, 1 << 16, 32);
  EXPECT_EQ(CreateDIBSection(0, huge.info(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

TEST_F(DisplayTest, GetObjectFailureInjectionSetsLastError) {
  DibInfo dib(4, 4, 32);
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, nullptr, 0, 0);
  DIBSECTION section{};
  displayFailNextGetObject(1234);
  EXPECT_EQ(GetObjectA(bitmap, 84, &section), 0);
  EXPECT_EQ(GetLastError(), 1234u);
  EXPECT_EQ(GetObjectA(bitmap, 84, &section), 84);
}

TEST_F(DisplayTest, PixelMemoryIsGoneAfterDeleteObject) {
  DibInfo dib(16, 16, 32);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, &bits, 0, 0);
  ASSERT_TRUE(DeleteObject(bitmap));
  DIBSECTION section{};
  EXPECT_EQ(GetObjectA(bitmap, 84, &section), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(DeleteObject(bitmap));
  // The pages are unmapped: mincore reports that nothing is mapped there.
  unsigned char resident = 0;
  EXPECT_EQ(mincore(bits, 4096, &resident), -1);
}

TEST_F(DisplayTest, PixelMemoryIsGuardedOnBothSides) {
  DibInfo dib(1024, -1, 32);  // exactly one page
  void* bits = nullptr;
  ASSERT_NE(CreateDIBSection(0, dib.info(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  volatile unsigned char* bytes = static_cast<unsigned char*>(bits);
  EXPECT_DEATH(bytes[4096] = 1, "");
  EXPECT_DEATH(bytes[-1] = 1, "");
}

}  // namespace
