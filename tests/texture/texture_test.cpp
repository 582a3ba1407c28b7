// Texture records: creation, conversion of 32-bit and 8-bit source
// rectangles, and binding.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <memory>
#include <tuple>
#include <vector>

#include "device/color_model.h"
#include "texture/texture.h"

namespace {

struct TextureDeleter {
  void operator()(RukTexture* t) const { destroyTexture(nullptr, t); }
};
using TexturePtr = std::unique_ptr<RukTexture, TextureDeleter>;

TexturePtr makeTexture(uint32_t width, uint32_t height) {
  RukTexture* texture = nullptr;
  EXPECT_EQ(createTexture(nullptr, &texture, width, height), RUK_OK);
  return TexturePtr(texture);
}

RukColorModel wordShifts(uint32_t red, uint32_t green, uint32_t blue) {
  RukColorModel model{};
  model.format = Rgb32;
  model.redWordShift = red;
  model.greenWordShift = green;
  model.blueWordShift = blue;
  return model;
}

const RukColorModel redHigh = wordShifts(16, 8, 0);
constexpr uint32_t USUAL_MASKS[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};

// Texel (column s, row t), row 0 being the bottom of the source image.
uint32_t texel(const RukTexture* texture, uint32_t s, uint32_t t) { return texture->texels[t * texture->width + s]; }

struct SizeCase {
  uint32_t width, height;
  RukStatus status;
  uint32_t log2Width, log2Height;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class CreateTexture : public testing::TestWithParam<SizeCase> {};

TEST_P(CreateTexture, SidesMustBePowersOfTwo) {
  const SizeCase& c = GetParam();
  RukTexture* texture = reinterpret_cast<RukTexture*>(1);
  ASSERT_EQ(createTexture(nullptr, &texture, c.width, c.height), c.status);
  if (c.status != RUK_OK) {
    EXPECT_EQ(texture, nullptr);
    return;
  }
  const TexturePtr owner(texture);
  EXPECT_EQ(texture->width, c.width);
  EXPECT_EQ(texture->height, c.height);
  EXPECT_EQ(texture->log2Width, c.log2Width);
  EXPECT_EQ(texture->log2Height, c.log2Height);
  for (uint32_t i = 0; i < c.width * c.height; ++i) ASSERT_EQ(texture->texels[i], 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CreateTexture,
                         testing::Values(SizeCase{1, 1, RUK_OK, 0, 0}, SizeCase{256, 64, RUK_OK, 8, 6},
                                         SizeCase{2, 1024, RUK_OK, 1, 10},
                                         SizeCase{0, 8, RUK_ERR_NOT_POWER_OF_TWO, 0, 0},
                                         SizeCase{3, 4, RUK_ERR_NOT_POWER_OF_TWO, 0, 0},
                                         SizeCase{4, 640, RUK_ERR_NOT_POWER_OF_TWO, 0, 0},
                                         SizeCase{0x80000000u, 0x80000000u, RUK_ERR_ALLOCATION, 0, 0}));

TEST(ConvertRect32, UsualMasksCopyEachByteIntoPlace) {
  const TexturePtr t = makeTexture(4, 4);
  const uint32_t pixel = 0x80102030;
  convertRect32Texels(&redHigh, t.get(), 0, 0, 1, 1, USUAL_MASKS[0], USUAL_MASKS[1], USUAL_MASKS[2], USUAL_MASKS[3],
                      &pixel, 1);
  EXPECT_EQ(t->texels[12], 0x80102030u);  // row 3 (the top source row), column 0
  EXPECT_EQ(t->texels[0], 0xFFFFFFFFu);
}

TEST(ConvertRect32, FollowsTheDeviceWordShifts) {
  const TexturePtr t = makeTexture(1, 1);
  const RukColorModel blueHigh = wordShifts(0, 8, 16);
  const uint32_t pixel = 0x80102030;
  convertRect32Texels(&blueHigh, t.get(), 0, 0, 1, 1, USUAL_MASKS[0], USUAL_MASKS[1], USUAL_MASKS[2], USUAL_MASKS[3],
                      &pixel, 1);
  EXPECT_EQ(t->texels[0], 0x80302010u);
}

TEST(ConvertRect32, NarrowChannelsAreWidenedByShifting) {
  const TexturePtr t = makeTexture(2, 1);
  const uint32_t pixels[2] = {0x7FFF, 0x4210};  // 5-5-5 white; 16, 16, 16
  convertRect32Texels(&redHigh, t.get(), 0, 0, 2, 1, 0x7C00, 0x03E0, 0x001F, 0, pixels, 2);
  EXPECT_EQ(t->texels[0], 0x00F8F8F8u);  // 31 becomes 248; no alpha mask gives alpha 0
  EXPECT_EQ(t->texels[1], 0x00808080u);
}

TEST(ConvertRect32, WideMasksKeepTheirTopEightBits) {
  const TexturePtr t = makeTexture(1, 1);
  // 10-bit channels (red 0x3FF00000, green 0xFFC00, blue 0x3FF) and a 2-bit alpha.
  const uint32_t pixel = 3u << 30 | 0x3FCu << 20 | 0x201u << 10 | 0x0FFu;
  convertRect32Texels(&redHigh, t.get(), 0, 0, 1, 1, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000, &pixel, 1);
  EXPECT_EQ(t->texels[0], 0xC0FF803Fu);
}

TEST(ConvertRect32, RowsRunBottomUpAndFollowTheScanSize) {
  const TexturePtr t = makeTexture(4, 4);
  // A 2 x 2 rectangle at (1, 1) from a source with 3 pixels per scan line,
  // starting at element 1.
  const std::array<uint32_t, 7> source{0, 0x11, 0x12, 0, 0x21, 0x22, 0};
  convertRect32Texels(&redHigh, t.get(), 1, 1, 2, 2, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, source.data() + 1, 3);
  EXPECT_EQ(texel(t.get(), 1, 2), 0x11u);  // source row 1 -> texture row 4 - 1 - 1
  EXPECT_EQ(texel(t.get(), 2, 2), 0x12u);
  EXPECT_EQ(texel(t.get(), 1, 1), 0x21u);
  EXPECT_EQ(texel(t.get(), 2, 1), 0x22u);
  EXPECT_EQ(texel(t.get(), 0, 2), 0xFFFFFFFFu);
  EXPECT_EQ(texel(t.get(), 3, 1), 0xFFFFFFFFu);
  EXPECT_EQ(texel(t.get(), 1, 3), 0xFFFFFFFFu);
}

struct ClipCase {
  const char* what;
  int32_t x, y, w, h;
  // Texels written, as (column, source row) -> source value (column + 16 * row of the source rectangle).
  std::vector<std::array<uint32_t, 3>> written;
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.what; }

class ClippedRect32 : public testing::TestWithParam<ClipCase> {};

TEST_P(ClippedRect32, WritesOnlyInsideTheTexture) {
  const ClipCase& c = GetParam();
  const TexturePtr t = makeTexture(2, 2);
  // The source rectangle: element (col, row) holds col + 16 * row; scan size 8.
  std::vector<uint32_t> source(8 * 8);
  for (uint32_t row = 0; row < 8; ++row)
    for (uint32_t col = 0; col < 8; ++col) source[row * 8 + col] = col + 16 * row;
  convertRect32Texels(&redHigh, t.get(), c.x, c.y, c.w, c.h, 0xFF0000, 0xFF00, 0xFF, 0, source.data(), 8);

  std::array<uint32_t, 4> expected;
  expected.fill(0xFFFFFFFF);
  for (const auto& [column, sourceRow, value] : c.written) expected[(1 - sourceRow) * 2 + column] = value;
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(t->texels[i], expected[i]) << c.what << " texel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Clipping, ClippedRect32,
    testing::Values(ClipCase{"inside", 0, 0, 2, 2, {{0, 0, 0x00}, {1, 0, 0x01}, {0, 1, 0x10}, {1, 1, 0x11}}},
                    ClipCase{"negative x skips source columns", -1, 0, 2, 1, {{0, 0, 0x01}}},
                    ClipCase{"negative y skips source rows", 0, -1, 1, 2, {{0, 0, 0x10}}},
                    ClipCase{"x + w past the width", 1, 1, 5, 1, {{1, 1, 0x00}}},
                    ClipCase{"y + h past the height", 0, 1, 1, 7, {{0, 1, 0x00}}},
                    ClipCase{"wholly outside", 2, 0, 1, 1, {}}, ClipCase{"negative size", 0, 0, -1, 2, {}},
                    ClipCase{"x + w overflows", 1, 0, INT32_MAX, 1, {{1, 0, 0x00}}},
                    ClipCase{"far left, huge size", INT32_MIN, 0, INT32_MAX, 1, {}}));

TEST(ConvertRect8, PaletteIndexesBelowTheSizeOnly) {
  const TexturePtr t = makeTexture(4, 1);
  const uint32_t palette[2] = {0x80102030, 0xFF405060};
  const uint8_t bytes[3] = {0, 5, 1};
  convertRect8Texels(&redHigh, t.get(), 0, 0, 3, 1, palette, 2, bytes, 3);
  EXPECT_EQ(t->texels[0], 0x80102030u);
  EXPECT_EQ(t->texels[1], 0xFFFFFFFFu);  // index 5 is past the palette: unchanged
  EXPECT_EQ(t->texels[2], 0xFF405060u);
  EXPECT_EQ(t->texels[3], 0xFFFFFFFFu);
}

TEST(ConvertRect8, FollowsTheDeviceWordShiftsAndClips) {
  const TexturePtr t = makeTexture(2, 2);
  const RukColorModel blueHigh = wordShifts(0, 8, 16);
  const uint32_t palette[1] = {0x11223344};
  const uint8_t bytes[4] = {0, 0, 0, 0};
  convertRect8Texels(&blueHigh, t.get(), 1, -1, 2, 2, palette, 1, bytes, 2);
  // Only texel (1, source row 0) is inside: texture row 1.
  EXPECT_EQ(texel(t.get(), 1, 1), 0x11443322u);
  EXPECT_EQ(texel(t.get(), 0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(texel(t.get(), 1, 0), 0xFFFFFFFFu);
}

// Source elements are offset + row * scansize + column of the array, with
// both signed; elements before the array, or where no Java array reaches,
// refuse the whole conversion. Element i of the source holds 0x100 + i (the
// 8-bit source: byte i and palette entry i = 0x100 + i), so each texel shows
// which element it came from. Texels are listed bottom row first.
struct SourceCase {
  const char* what;
  int32_t y, h, offset, scansize;
  RukStatus status;
  std::array<uint32_t, 4> texels;
};
void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.what; }

constexpr uint32_t UNCHANGED = 0xFFFFFFFF;

class SourceElements : public testing::TestWithParam<std::tuple<SourceCase, bool>> {};

TEST_P(SourceElements, AreSignedIndexesIntoTheArray) {
  const auto& [c, eightBit] = GetParam();
  const TexturePtr t = makeTexture(2, 2);
  std::array<uint32_t, 16> pixels, palette;
  std::array<uint8_t, 16> bytes;
  for (uint32_t i = 0; i < 16; ++i) {
    pixels[i] = palette[i] = 0x100 + i;
    bytes[i] = static_cast<uint8_t>(i);
  }
  const RukStatus status = eightBit ? convertRect8Texels(&redHigh, t.get(), 0, c.y, 2, c.h, palette.data(), 16,
                                                         bytes.data(), c.offset, c.scansize)
                                    : convertRect32Texels(&redHigh, t.get(), 0, c.y, 2, c.h, 0xFF0000, 0xFF00, 0xFF,
                                                          0xFF000000, pixels.data(), c.offset, c.scansize);
  EXPECT_EQ(status, c.status);
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(t->texels[i], c.texels[i]) << "texel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, SourceElements,
    testing::Combine(
        testing::Values(
            SourceCase{"offset names the first pixel", 0, 2, 4, 2, RUK_OK, {0x106, 0x107, 0x104, 0x105}},
            SourceCase{"a negative scan size walks rows backwards", 0, 2, 6, -2, RUK_OK, {0x104, 0x105, 0x106, 0x107}},
            SourceCase{"rows clipped away may lie before the array",
                       -1,
                       2,
                       -2,
                       2,
                       RUK_OK,
                       {UNCHANGED, UNCHANGED, 0x100, 0x101}},
            SourceCase{"a row before the array refuses it all",
                       0,
                       2,
                       0,
                       -2,
                       RUK_ERR_BAD_ARGUMENT,
                       {UNCHANGED, UNCHANGED, UNCHANGED, UNCHANGED}},
            SourceCase{"a large negative offset",
                       0,
                       2,
                       -2054847097,
                       2,
                       RUK_ERR_BAD_ARGUMENT,
                       {UNCHANGED, UNCHANGED, UNCHANGED, UNCHANGED}},
            SourceCase{"elements past any Java array",
                       0,
                       1,
                       INT32_MAX - 1,
                       2,
                       RUK_ERR_BAD_ARGUMENT,
                       {UNCHANGED, UNCHANGED, UNCHANGED, UNCHANGED}},
            SourceCase{"rows wrapping past 2^31",
                       0,
                       2,
                       0,
                       INT32_MAX,
                       RUK_ERR_BAD_ARGUMENT,
                       {UNCHANGED, UNCHANGED, UNCHANGED, UNCHANGED}}),
        testing::Bool()));

// A palette size of 0 or less names no entry: no palette is read (here there
// is none) and no texel changes.
TEST(ConvertRect8, ANegativePaletteSizeReadsNoPalette) {
  const TexturePtr t = makeTexture(2, 1);
  const uint8_t bytes[2] = {0, 255};
  for (int32_t size : {-1, INT32_MIN, 0}) {
    EXPECT_EQ(convertRect8Texels(&redHigh, t.get(), 0, 0, 2, 1, nullptr, size, bytes, 2), RUK_OK);
    EXPECT_EQ(t->texels[0], 0xFFFFFFFFu) << size;
    EXPECT_EQ(t->texels[1], 0xFFFFFFFFu) << size;
  }
}

}  // namespace
