// What lines store in each pixel format, opaque and blended.
#include <gtest/gtest.h>

#include "lines/line_canvas.h"

namespace {

struct FormatCase {
  const char* name;
  uint32_t format;
  uint32_t background;
  // Channels (0x12, 0xAB, 0x00) with fractions, stored opaque.
  uint32_t opaque;  // an Indexed8 case holds the inverseColorMap12 index instead
  // (200, 100, 0) at alpha 128 over the background.
  uint32_t blended;  // likewise
};

// An Indexed8 store is the map entry at the nearest-colour index.
uint32_t stored(const RasterCanvas& canvas, uint32_t format, uint32_t value) {
  return format == Indexed8 ? canvas.map12[value] : value;
}

class LineFormats : public testing::TestWithParam<FormatCase> {};

// A vertical line down the last column and a horizontal one along the last
// row: rows are rowBytes apart and the padding after each row stays.
TEST_P(LineFormats, StoreTheFormatsEncoding) {
  const FormatCase& f = GetParam();
  RasterCanvas canvas(f.format, 4, 4);
  canvas.fillPixels(f.background);
  RasterVertex start = pixelVertex(3, 0);
  start.c0 = 0x123456;
  start.c1 = 0xABCDEF;
  start.c2 = 0x00FF00;
  RasterVertex end = start;
  end.y = 3 << 16;
  drawLineSlot(canvas, 0, linePrimitive(start, end));
  start.x = 0;
  start.y = 3 << 16;
  end.x = 3 << 16;
  drawLineSlot(canvas, 0, linePrimitive(start, end));
  const uint32_t ink = stored(canvas, f.format, f.opaque);
  expectCanvas(canvas, f.background,
               {{{3, 0}, ink}, {{3, 1}, ink}, {{3, 2}, ink}, {{0, 3}, ink}, {{1, 3}, ink}, {{2, 3}, ink}});
}

// out = P[128][c] + P[127][dst] per channel, dst read back in the format's way:
// P[128][200] = 100, P[128][100] = 50, P[128][0] = 0.
TEST_P(LineFormats, BlendWithTheStoredPixel) {
  const FormatCase& f = GetParam();
  RasterCanvas canvas(f.format, 4, 2);
  canvas.fillPixels(f.background);
  const Colour816 colour = intensities(200, 100, 0);
  drawLineSlot(canvas, 8, linePrimitive(pixelVertex(0, 1, colour, 0, 128), pixelVertex(3, 1, colour, 0, 128)));
  const uint32_t ink = stored(canvas, f.format, f.blended);
  expectCanvas(canvas, f.background, {{{0, 1}, ink}, {{1, 1}, ink}, {{2, 1}, ink}});
}

INSTANTIATE_TEST_SUITE_P(Formats, LineFormats,
                         testing::Values(
                             // dst (50, 150, 255): P[127] gives 25, 75, 127.
                             FormatCase{"Rgb32", Rgb32, 0x3296FF, 0x12AB00, 0x7D7D7F},
                             FormatCase{"Rgb24", Rgb24, 0x3296FF, 0x12AB00, 0x7D7D7F},
                             // dst 0xFFFF reads back (248, 252, 248): P[127] gives 124, 126, 124;
                             // out (224, 176, 124).
                             FormatCase{"Rgb16", Rgb16, 0xFFFF, 0x1540, 0xE58F},
                             // dst 0x7E00 reads back (248, 128, 0): P[127] gives 124, 64, 0;
                             // out (224, 114, 0).
                             FormatCase{"Rgb555", Rgb555, 0x7E00, 0x0AA0, 0x71C0},
                             // Opaque: levels (1, 10, 0) index 0xA1. Blended: the stored index 40
                             // is dst of every channel, P[127][40] = 20; out (120, 70, 20) has
                             // levels (7, 4, 1), index 7 + 64 + 256.
                             FormatCase{"Indexed8", Indexed8, 40, 0xA1, 327}),
                         [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(IndexedLine, SmoothLinesLookTheMapUpAtEveryPixel) {
  RasterCanvas canvas(Indexed8, 5, 1);
  canvas.fillPixels(0);
  drawLineSlot(canvas, 4,
               linePrimitive(pixelVertex(0, 0, intensities(0, 0, 0)), pixelVertex(4, 0, intensities(255, 0, 0))));
  // Red 0, 63, 127, 191 has the 4-bit levels 0, 3, 7, 11.
  expectCanvas(
      canvas, 0,
      {{{0, 0}, canvas.map12[0]}, {{1, 0}, canvas.map12[3]}, {{2, 0}, canvas.map12[7]}, {{3, 0}, canvas.map12[11]}});
}

struct BlendCase {
  const char* name;
  uint32_t slot;
  Colour816 startColour, endColour;
  uint32_t startAlpha, endAlpha;
  uint32_t pixels[4];
};

class BlendedLine : public testing::TestWithParam<BlendCase> {};

TEST_P(BlendedLine, MixesByAlpha) {
  const BlendCase& b = GetParam();
  constexpr uint32_t background = 0x3296FF;
  RasterCanvas canvas(Rgb32, 5, 1);
  canvas.fillPixels(background);
  drawLineSlot(
      canvas, b.slot,
      linePrimitive(pixelVertex(0, 0, b.startColour, 0, b.startAlpha), pixelVertex(4, 0, b.endColour, 0, b.endAlpha)));
  expectCanvas(canvas, background,
               {{{0, 0}, b.pixels[0]}, {{1, 0}, b.pixels[1]}, {{2, 0}, b.pixels[2]}, {{3, 0}, b.pixels[3]}});
}

INSTANTIATE_TEST_SUITE_P(
    Alphas, BlendedLine,
    testing::Values(
        // Alpha 255 gives the source exactly, alpha 0 the stored pixel.
        BlendCase{"FlatOpaque", 8, intensities(0x12, 0xAB, 0x01), {}, 255, 0, {0x12AB01, 0x12AB01, 0x12AB01, 0x12AB01}},
        BlendCase{"FlatClear", 8, intensities(0x12, 0xAB, 0x01), {}, 0, 255, {0x3296FF, 0x3296FF, 0x3296FF, 0x3296FF}},
        // Alpha 0, 63, 127, 191 of white over (50, 150, 255):
        // P[a][255] + P[255 - a][dst].
        BlendCase{"SmoothAlpha",
                  12,
                  intensities(255, 255, 255),
                  intensities(255, 255, 255),
                  0,
                  255,
                  {0x3296FF, 0x65B0FF, 0x98CAFF, 0xCCE5FF}},
        // Opaque, colour red 0 to 255: 0, 63, 127, 191 over no trace of the background.
        BlendCase{"SmoothColour",
                  12,
                  intensities(0, 0, 0),
                  intensities(255, 0, 0),
                  255,
                  255,
                  {0x000000, 0x3F0000, 0x7F0000, 0xBF0000}}),
    [](const testing::TestParamInfo<BlendCase>& info) { return std::string(info.param.name); });

}  // namespace
