// BitBlt: where pixels land, how each DIB format converts to 0x00RRGGBB, and
// clipping to the target and the source.
#include "display_fixture.h"

namespace {

// A memory device context holding a new DIB section of the given format.
struct Source {
  HDC dc = 0;
  HBITMAP bitmap = 0;
  unsigned char* bits = nullptr;
  int stride = 0;

  Source(const DibInfo& dib, UINT usage = DIB_RGB_COLORS, HDC reference = 0) {
    void* memory = nullptr;
    bitmap = CreateDIBSection(reference, dib.info(), usage, &memory, 0, 0);
    bits = static_cast<unsigned char*>(memory);
    DIBSECTION section{};
    GetObjectA(bitmap, sizeof section, &section);
    stride = section.dsBm.bmWidthBytes;
    dc = CreateCompatibleDC(reference);
    SelectObject(dc, bitmap);
  }
  unsigned char* row(int y) { return bits + y * stride; }
  void put32(int x, int y, uint32_t v) { std::memcpy(row(y) + 4 * x, &v, 4); }
  void put16(int x, int y, uint16_t v) { std::memcpy(row(y) + 2 * x, &v, 2); }
  void put24(int x, int y, uint32_t v) { std::memcpy(row(y) + 3 * x, &v, 3); }
};

class BitBltTest : public DisplayTest {
 protected:
  HWND window = 0;
  HDC windowDc = 0;
  void SetUp() override {
    DisplayTest::SetUp();
    window = displayCreateWindow(8, 6);
    windowDc = GetDC(window);
  }
  uint32_t at(int x, int y) { return displayWindowPixel(window, x, y); }
};

TEST_F(BitBltTest, CopiesTheRectangleToItsPlaceOnly) {
  Source source(DibInfo(3, -2, 32));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) source.put32(x, y, 0x010000u * (x + 1) + 0x000100u * (y + 1) + 0x77);
  displayFillWindow(window, 0x123456);
  ASSERT_TRUE(BitBlt(windowDc, 4, 3, 3, 2, source.dc, 0, 0, SRCCOPY));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 4 && x < 7 && y >= 3 && y < 5;
      const uint32_t expected = inside ? 0x010000u * (x - 3) + 0x000100u * (y - 2) + 0x77 : 0x123456u;
      EXPECT_EQ(at(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(BitBltTest, ClipsToTargetAndSource) {
  Source source(DibInfo(4, -4, 32));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) source.put32(x, y, static_cast<uint32_t>(0x100 * y + x + 1));
  // Half off the window's left and top edges, source offset by (1, 1), and
  // asking for more than the source holds.
  ASSERT_TRUE(BitBlt(windowDc, -1, -2, 10, 10, source.dc, 1, 1, SRCCOPY));
  // Window (0,0) shows source (2,3); the source has 2 columns and 1 row left.
  EXPECT_EQ(at(0, 0), 0x303u);
  EXPECT_EQ(at(1, 0), 0x304u);
  EXPECT_EQ(at(2, 0), 0u);
  EXPECT_EQ(at(0, 1), 0u);
  // Entirely outside: nothing drawn, still success.
  EXPECT_TRUE(BitBlt(windowDc, 8, 0, 4, 4, source.dc, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(windowDc, 0, 0, 4, 4, source.dc, -4, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(windowDc, INT32_MIN, INT32_MAX, 4, 4, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(at(3, 3), 0u);
}

TEST_F(BitBltTest, BottomUpRowsAreFlipped) {
  Source source(DibInfo(1, 2, 32));  // positive height: the first row in memory is the bottom
  source.put32(0, 0, 0xAAAAAA);
  source.put32(0, 1, 0xBBBBBB);
  BitBlt(windowDc, 0, 0, 1, 2, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(at(0, 0), 0xBBBBBBu);
  EXPECT_EQ(at(0, 1), 0xAAAAAAu);
}

struct WordCase {
  const char* layout;
  int depth;
  uint32_t masks[3];
  uint32_t pixel;
  uint32_t rgb;
};

void PrintTo(const WordCase& c, std::ostream* os) { *os << c.layout; }

class BitBltWords : public BitBltTest, public ::testing::WithParamInterface<WordCase> {};

TEST_P(BitBltWords, ConvertsThroughTheMasks) {
  const WordCase c = GetParam();
  displaySetDepth(c.depth);
  displaySetMasks(c.masks[0], c.masks[1], c.masks[2]);
  Source source(DibInfo(1, -1, c.depth));
  if (c.depth == 16) source.put16(0, 0, static_cast<uint16_t>(c.pixel));
  if (c.depth == 24) source.put24(0, 0, c.pixel);
  if (c.depth == 32) source.put32(0, 0, c.pixel);
  ASSERT_TRUE(BitBlt(windowDc, 2, 1, 1, 1, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(at(2, 1), c.rgb) << c.layout;
}

INSTANTIATE_TEST_SUITE_P(Layouts, BitBltWords,
                         ::testing::Values(
                             // 5-5-5 (no masks): 5-bit 10000 widens to 10000100.
                             WordCase{"555 red", 16, {0, 0, 0}, 0x7C00, 0xFF0000},
                             WordCase{"555 green", 16, {0, 0, 0}, 0x03E0, 0x00FF00},
                             WordCase{"555 grey 16", 16, {0, 0, 0}, 0x4210, 0x848484},
                             WordCase{"555 ones", 16, {0, 0, 0}, 0x0421, 0x080808},
                             WordCase{"555 top bit ignored", 16, {0, 0, 0}, 0x8000, 0x000000},
                             // 5-6-5: 6-bit 000001 widens to 00000100, 100000 to 10000010.
                             WordCase{"565 ones", 16, {0xF800, 0x07E0, 0x001F}, 0x0821, 0x080408},
                             WordCase{"565 green half", 16, {0xF800, 0x07E0, 0x001F}, 0x0400, 0x008200},
                             WordCase{"565 white", 16, {0xF800, 0x07E0, 0x001F}, 0xFFFF, 0xFFFFFF},
                             WordCase{"24 default", 24, {0, 0, 0}, 0x123456, 0x123456},
                             WordCase{"32 default drops the top byte", 32, {0, 0, 0}, 0xFF123456, 0x123456},
                             WordCase{"32 red-high masks", 32, {0xFF0000, 0xFF00, 0xFF}, 0x00ABCDEF, 0xABCDEF},
                             WordCase{"32 blue-high masks", 32, {0xFF, 0xFF00, 0xFF0000}, 0x00ABCDEF, 0xEFCDAB},
                             WordCase{"32 ten-bit channels",
                                      32,
                                      {0x3FF00000, 0x000FFC00, 0x000003FF},
                                      0x3FF00000 | (0x155u << 10) | 0x00F,
                                      0xFF5503}));

TEST_F(BitBltTest, IndexedPixelsNameSystemPaletteSlots) {
  // The renderer's set-up: an explicit palette selected into the window's
  // device context, a DIB section whose colour table indexes it.
  displaySetDepth(8);
  const PaletteBlock block = explicitPalette();
  const HPALETTE palette = CreatePalette(block.logical());
  SelectPalette(windowDc, palette, FALSE);
  EXPECT_EQ(RealizePalette(windowDc), 256u);
  DibInfo dib(3, -1, 8);
  dib.identityIndexes();
  Source source(dib, DIB_PAL_COLORS, windowDc);
  source.row(0)[0] = 0;
  source.row(0)[1] = 215;  // the cube's white
  source.row(0)[2] = 37;   // r=1, g=0, b=1 in the cube: 51, 0, 51
  BitBlt(windowDc, 0, 0, 3, 1, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(at(0, 0), 0x000000u);
  EXPECT_EQ(at(1, 0), 0xFFFFFFu);
  EXPECT_EQ(at(2, 0), 0x330033u);

  // A new system palette shows at the next copy.
  std::array<uint32_t, 256> colors{};
  colors[37] = 0x0A0B0C;
  displaySetSystemPalette(colors);
  BitBlt(windowDc, 0, 0, 3, 1, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(at(2, 0), 0x0A0B0Cu);
  EXPECT_EQ(at(1, 0), 0x000000u);
}

TEST_F(BitBltTest, IndexedPixelsThroughAPaletteOfColours) {
  PaletteBlock block;
  block.count = 2;
  block.entries[0] = PALETTEENTRY{0x10, 0x20, 0x30, 0};
  block.entries[1] = PALETTEENTRY{5, 0, 0, PC_EXPLICIT};  // system slot 5: 0, 0, 255
  const HPALETTE palette = CreatePalette(block.logical());
  const HDC memory = CreateCompatibleDC(windowDc);
  SelectPalette(memory, palette, FALSE);
  DibInfo dib(2, -1, 8);
  dib.identityIndexes();
  dib.header.biClrUsed = 2;
  Source source(dib, DIB_PAL_COLORS, memory);
  source.row(0)[0] = 0;
  source.row(0)[1] = 1;
  BitBlt(windowDc, 0, 0, 2, 1, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(at(0, 0), 0x102030u);
  EXPECT_EQ(at(1, 0), 0x0000FFu);
}

TEST_F(BitBltTest, IndexedPixelsThroughAnRgbColourTable) {
  DibInfo dib(2, -1, 8);
  dib.table[0] = 0x00112233;  // RGBQUAD blue 0x33, green 0x22, red 0x11
  dib.table[7] = 0x00FEDCBA;
  Source source(dib);
  source.row(0)[0] = 7;
  source.row(0)[1] = 0;
  BitBlt(windowDc, 0, 0, 2, 1, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(at(0, 0), 0xFEDCBAu);
  EXPECT_EQ(at(1, 0), 0x112233u);
}

TEST_F(BitBltTest, IntoAToolkitSurface) {
  const HDC surface = displayCreateSurface(4, 4);
  Source source(DibInfo(2, -2, 32));
  source.put32(1, 1, 0x00FF00);
  ASSERT_TRUE(BitBlt(surface, 2, 2, 2, 2, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(displaySurfacePixel(surface, 3, 3), 0x00FF00u);
  EXPECT_EQ(displaySurfacePixel(surface, 2, 2), 0u);
  EXPECT_EQ(displaySurfacePixel(surface, 4, 0), DISPLAY_NO_PIXEL);
  EXPECT_EQ(displaySurfacePixels(surface).size(), 16u);
}

TEST_F(BitBltTest, Refusals) {
  Source source(DibInfo(2, -2, 32));
  EXPECT_FALSE(BitBlt(windowDc, 0, 0, 2, 2, source.dc, 0, 0, 0x00EE0086));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(BitBlt(0x9999, 0, 0, 2, 2, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  // A memory device context without a DIB section, and a target without a
  // surface, have nothing to copy from or to.
  const HDC empty = CreateCompatibleDC(0);
  EXPECT_FALSE(BitBlt(windowDc, 0, 0, 2, 2, empty, 0, 0, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
  const HDC screen = GetDC(0);
  EXPECT_FALSE(BitBlt(screen, 0, 0, 2, 2, source.dc, 0, 0, SRCCOPY));
  // After the window is gone its device context has nothing to draw on.
  displayDestroyWindow(window);
  EXPECT_FALSE(BitBlt(windowDc, 0, 0, 2, 2, source.dc, 0, 0, SRCCOPY));
}

}  // namespace
