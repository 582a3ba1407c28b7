// DIB sections: layout, zeroed memory below 4 GiB, the 84-byte description,
// channel masks and the ways creation fails.
#include <sys/mman.h>
#include <unistd.h>

#include "display_fixture.h"
#include "platform/low_memory.h"

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

void PrintTo(const MaskCase& c, std::ostream* os) {
  *os << c.bitCount << "-bit DIB on a " << c.depth << "-bit display";
}

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

INSTANTIATE_TEST_SUITE_P(Depths, DibMasks,
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

// Pixel memory is placed with MAP_32BIT and, as where that flag is missing or
// ignored (other architectures, emulators), by probing low addresses.
class DibPlacement : public DisplayTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    kelplatform::allowMap32Bit(GetParam());
  }
  void TearDown() override {
    kelplatform::allowMap32Bit(true);
    DisplayTest::TearDown();
  }
};

TEST_P(DibPlacement, PixelMemoryIsBelow4GiBZeroedAndGuardedOnBothSides) {
  DibInfo page(1024, -1, 32);  // exactly one page
  DibInfo frame(640, -480, 32);
  void* bits = nullptr;
  void* frameBits = nullptr;
  ASSERT_NE(CreateDIBSection(0, page.info(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  ASSERT_NE(CreateDIBSection(0, frame.info(), DIB_RGB_COLORS, &frameBits, 0, 0), 0u);
  auto* frameBytes = static_cast<unsigned char*>(frameBits);
  const std::size_t frameSize = 640u * 480u * 4u;
  EXPECT_LE(reinterpret_cast<uintptr_t>(bits) + 4096u, uintptr_t{1} << 32);
  EXPECT_LE(reinterpret_cast<uintptr_t>(frameBits) + frameSize, uintptr_t{1} << 32);
  for (std::size_t i = 0; i < frameSize; ++i) ASSERT_EQ(frameBytes[i], 0) << "byte " << i;
  std::memset(frameBytes, 0xFF, frameSize);
  volatile unsigned char* bytes = static_cast<unsigned char*>(bits);
  EXPECT_DEATH(bytes[4096] = 1, "");
  EXPECT_DEATH(bytes[-1] = 1, "");
}

INSTANTIATE_TEST_SUITE_P(Ways, DibPlacement, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Map32BitFirst" : "ProbingOnly"; });

// Probing starts just past its last placement; memory in the way there is
// stepped over, never replaced.
TEST(LowMemory, ProbingStepsOverMemoryInTheWay) {
  kelplatform::allowMap32Bit(false);
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t bytes = 16 * page;
  auto* first = static_cast<unsigned char*>(kelplatform::mapBelow4GiB(bytes, PROT_READ | PROT_WRITE));
  ASSERT_NE(first, nullptr);
  void* next = first + bytes;
  auto* blocker = static_cast<unsigned char*>(
      mmap(next, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0));
  ASSERT_NE(blocker, MAP_FAILED);
  EXPECT_EQ(blocker, next) << "nothing but the blocker should lie there";
  std::memset(blocker, 0xA5, page);
  auto* second = static_cast<unsigned char*>(kelplatform::mapBelow4GiB(bytes, PROT_READ | PROT_WRITE));
  ASSERT_NE(second, nullptr);
  const auto overlaps = [](const unsigned char* a, std::size_t n, const unsigned char* b, std::size_t m) {
    return a < b + m && b < a + n;
  };
  EXPECT_FALSE(overlaps(second, bytes, blocker, page));
  EXPECT_FALSE(overlaps(second, bytes, first, bytes));
  EXPECT_LE(reinterpret_cast<uintptr_t>(second) + bytes, uintptr_t{1} << 32);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(second) % page, 0u);
  for (std::size_t i = 0; i < bytes; ++i) ASSERT_EQ(second[i], 0) << "byte " << i;
  for (std::size_t i = 0; i < page; ++i) ASSERT_EQ(blocker[i], 0xA5) << "the blocker was replaced";

  EXPECT_EQ(kelplatform::mapBelow4GiB(0, PROT_READ), nullptr);
  EXPECT_EQ(kelplatform::mapBelow4GiB((std::size_t{1} << 32) - page, PROT_READ), nullptr) << "no room for it";
  munmap(first, bytes);
  munmap(blocker, page);
  munmap(second, bytes);
  kelplatform::allowMap32Bit(true);
}

}  // namespace
