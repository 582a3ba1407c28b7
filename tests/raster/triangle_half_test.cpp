// Triangle routines called directly on a canvas of plain buffers: rows and spans
// of a half, depth handling, texel addressing and every colour step, on
// hand-derived values.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "device/pixel_format.h"
#include "raster/raster.h"
#include "raster/raster_isa.h"
#include "raster_canvas.h"

namespace {

struct Half {
  RasterPrimitive primitive{};
  RasterVertex start{}, end{};
  int32_t leftX = 0, rightX = 0, leftStep = 0, rightStep = 0;
  float prestep = 0.0f;

  // A half whose left edge carries the same values at both ends, so every
  // pixel sees the start values (no gradients).
  Half(double top, double bottom, double left, double right) {
    start = vertexAt(left, top);
    end = vertexAt(left, bottom);
    leftX = fixed16(left);
    rightX = fixed16(right);
  }
  template <class F>
  void setBoth(F&& f) {
    f(start);
    f(end);
  }
  void setColour(uint32_t r, uint32_t g, uint32_t b) {
    setBoth([&](RasterVertex& v) {
      v.c0 = static_cast<int32_t>(r << 16);
      v.c1 = static_cast<int32_t>(g << 16);
      v.c2 = static_cast<int32_t>(b << 16);
    });
  }
  void draw(RasterCanvas& canvas, TriangleRoutine routine) const {
    routine(canvas.target(), &primitive, &start, &end, leftX, rightX, leftStep, rightStep, prestep);
  }
};

const TriangleRoutine* trianglesOf(uint32_t format) { return rasterTablesFor(format)->triangles; }

constexpr uint32_t BACKGROUND = 0x00010203;

TEST(TriangleHalf, DrawsRowsFromFloorOfStartToFloorOfEnd) {
  RasterCanvas canvas(Rgb32, 8, 16);
  canvas.fillPixels(BACKGROUND);
  Half half(10.5, 12.25, 2.0, 5.0);
  half.setColour(0x11, 0x22, 0x33);
  half.draw(canvas, trianglesOf(Rgb32)[0]);
  for (uint32_t row = 0; row < 16; ++row) {
    for (uint32_t column = 0; column < 8; ++column) {
      const bool inside = (row == 10 || row == 11) && column >= 2 && column < 5;
      EXPECT_EQ(canvas.pixel(row, column), inside ? 0x112233u : BACKGROUND) << row << "," << column;
    }
  }
  EXPECT_TRUE(canvas.paddingUntouched());
}

// The left edge ends on the line below the first row: one row, and its
// (infinite) per-row steps are never used.
TEST(TriangleHalf, HalfEndingOnTheNextLineDrawsOneRow) {
  RasterCanvas canvas(Rgb32, 8, 16);
  canvas.fillPixels(BACKGROUND);
  Half half(10.5, 11.0, 1.0, 3.0);
  half.start.c0 = 0x100000;
  half.end.c0 = 0x800000;
  half.leftStep = 0x7FFFFFFF;
  half.draw(canvas, trianglesOf(Rgb32)[RF_SMOOTH]);
  EXPECT_EQ(canvas.pixel(10, 1), 0x100000u);
  EXPECT_EQ(canvas.pixel(10, 2), 0x100000u);
  EXPECT_EQ(canvas.pixel(10, 3), BACKGROUND);
  EXPECT_EQ(canvas.pixel(9, 1), BACKGROUND);
  EXPECT_EQ(canvas.pixel(11, 1), BACKGROUND);
}

TEST(TriangleHalf, SpanRunsFromFloorOfLeftToBeforeFloorOfRight) {
  RasterCanvas canvas(Rgb32, 10, 4);
  canvas.fillPixels(BACKGROUND);
  Half half(1.0, 2.0, 3.9, 7.0);
  half.setColour(1, 2, 3);
  half.draw(canvas, trianglesOf(Rgb32)[0]);
  for (uint32_t column = 0; column < 10; ++column) {
    EXPECT_EQ(canvas.pixel(1, column), column >= 3 && column <= 6 ? 0x010203u : BACKGROUND) << column;
  }
  canvas.fillPixels(BACKGROUND);
  half.rightX = fixed16(3.5);
  half.draw(canvas, trianglesOf(Rgb32)[0]);
  for (uint32_t column = 0; column < 10; ++column) EXPECT_EQ(canvas.pixel(1, column), BACKGROUND);
}

// Rows advance the edges by their steps; quantities restart each row at the
// left edge's row value, whatever the fraction of leftX.
TEST(TriangleHalf, EdgesAndQuantitiesStepPerRowAndPixel) {
  RasterCanvas canvas(Rgb32, 16, 8);
  canvas.fillPixels(BACKGROUND);
  Half half(0.0, 4.0, 1.5, 3.0);
  half.leftStep = fixed16(1.0);
  half.rightStep = fixed16(2.0);
  // Red 16 at the top, 96 at the bottom: edgeHeight 3, so 80/3 per row.
  half.start.c0 = 16 << 16;
  half.end.c0 = 96 << 16;
  half.primitive.dc0dx = 4 << 16;
  half.draw(canvas, trianglesOf(Rgb32)[RF_SMOOTH]);
  const int32_t rowStep = static_cast<int32_t>((80 << 16) * static_cast<double>(1.0f / 3.0f));
  for (uint32_t row = 0; row < 4; ++row) {
    const uint32_t first = 1 + row, end = 3 + 2 * row;
    for (uint32_t column = 0; column < 16; ++column) {
      const uint32_t red = static_cast<uint32_t>((16 << 16) + static_cast<int32_t>(row) * rowStep +
                                                 static_cast<int32_t>((column - first) * (4 << 16))) >>
                           16;
      const bool inside = column >= first && column < end;
      EXPECT_EQ(canvas.pixel(row, column), inside ? red << 16 : BACKGROUND) << row << "," << column;
    }
  }
}

// A span's last pixels at the right edge of the image, in every copy: from
// column 27 to the end of a 40-pixel row, red 10 + 3 per pixel, depth 50 + 1
// per pixel against 100 stored, 60 from column 35 on (columns 37 on fail),
// with the pixels before the span and the padding left as they were.
TEST(TriangleHalf, SpanEndingAtTheImagesRightEdge) {
  for (RasterIsa isa : RASTER_ISAS) {
    if (!rasterIsaAvailable(isa)) continue;
    RasterCanvas canvas(Rgb32, 40, 2);
    canvas.fillPixels(BACKGROUND);
    for (uint32_t column = 0; column < 40; ++column) canvas.depthAt(0, column) = column < 35 ? 100 : 60;
    Half half(0.0, 1.0, 27.0, 40.0);
    half.setColour(10, 0, 0);
    half.setBoth([](RasterVertex& v) { v.z = 50; });
    half.primitive.dc0dx = 3 << 16;
    half.primitive.dzdx = 1;
    half.draw(canvas, rasterTablesForIsa(isa, Rgb32)->triangles[RF_SMOOTH | RF_DEPTH_TEST | RF_DEPTH_WRITE]);
    for (uint32_t column = 0; column < 40; ++column) {
      const int32_t z = 50 + static_cast<int32_t>(column) - 27;
      const bool drawn = column >= 27 && z < (column < 35 ? 100 : 60);
      EXPECT_EQ(canvas.pixel(0, column), drawn ? (10 + 3 * (column - 27)) << 16 : BACKGROUND)
          << rasterIsaName(isa) << " " << column;
      EXPECT_EQ(canvas.depthAt(0, column), drawn ? z : (column < 35 ? 100 : 60)) << rasterIsaName(isa) << " " << column;
    }
    EXPECT_TRUE(canvas.paddingUntouched()) << rasterIsaName(isa);
  }
}

// Colour and depth buffers of `rows` rows of `width` pixels with no padding,
// next to a page that may not be touched: after their last byte, or before
// their first.
struct GuardedBuffers {
  uint8_t* mapping = nullptr;
  size_t mappingBytes = 0;
  uint8_t* color = nullptr;
  int32_t* depth = nullptr;

  GuardedBuffers(uint32_t width, uint32_t rows, uint32_t bytesPerPixel, bool guardAfter) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t colorBytes = size_t{width} * rows * bytesPerPixel, depthBytes = size_t{width} * rows * 4;
    // [guard][colour page][guard][depth page][guard]
    mappingBytes = 5 * page;
    mapping = static_cast<uint8_t*>(mmap(nullptr, mappingBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(mapping + page, page, PROT_READ | PROT_WRITE);
    mprotect(mapping + 3 * page, page, PROT_READ | PROT_WRITE);
    color = guardAfter ? mapping + 2 * page - colorBytes : mapping + page;
    depth = reinterpret_cast<int32_t*>(guardAfter ? mapping + 4 * page - depthBytes : mapping + 3 * page);
  }
  ~GuardedBuffers() { munmap(mapping, mappingBytes); }
};

// Blocks of pixels never reach past the buffers, however a span meets the
// row's ends: spans of every length ending at the last pixel of the last
// row, next to a page that may not be touched, and starting at the first
// pixel of the first row, after one. Each drawn pixel's depth shows it was
// drawn.
TEST(TriangleHalf, BlocksStayInsideTheBuffers) {
  constexpr uint32_t WIDTH = 37, ROWS = 2;
  const uint32_t formats[] = {Rgb32, Rgb24, Rgb16, Rgb555, Indexed8};
  const uint32_t slots[] = {RF_SMOOTH | RF_DEPTH_TEST | RF_DEPTH_WRITE,
                            RF_SMOOTH | RF_BLEND | RF_DEPTH_TEST | RF_DEPTH_WRITE, RF_DEPTH_WRITE};
  fillProductTable();
  std::vector<uint8_t> map12(4096), map6(64);
  for (RasterIsa isa : RASTER_ISAS) {
    if (!rasterIsaAvailable(isa)) continue;
    for (uint32_t format : formats) {
      const RasterTableSet* tables = rasterTablesForIsa(isa, format);
      if (tables == nullptr) continue;
      const uint32_t bytes = bytesPerPixelOf(format);
      for (const bool guardAfter : {true, false}) {
        GuardedBuffers buffers(WIDTH, ROWS, bytes, guardAfter);
        const RasterTarget target{buffers.color, WIDTH * bytes, WIDTH, buffers.depth, WIDTH, 0, 0, 0, nullptr, 0, 0,
                                  map12.data(),  map6.data()};
        const uint32_t row = guardAfter ? ROWS - 1 : 0;
        for (const TriangleRoutine* table : {tables->triangles, tables->ditheredTriangles}) {
          if (table == nullptr) continue;
          for (uint32_t slot : slots) {
            for (uint32_t length = 1; length <= WIDTH; ++length) {
              std::fill_n(buffers.depth, WIDTH * ROWS, INT32_MAX);
              const uint32_t first = guardAfter ? WIDTH - length : 0;
              Half half(row, row + 1.0, first, first + length);
              half.setColour(200, 100, 50);
              half.setBoth([&](RasterVertex& v) {
                v.z = static_cast<int32_t>(length);
                v.a = 128 << 16;
              });
              table[slot](&target, &half.primitive, &half.start, &half.end, half.leftX, half.rightX, 0, 0, 0.0f);
              for (uint32_t column = 0; column < WIDTH; ++column) {
                const bool inSpan = column >= first && column < first + length;
                ASSERT_EQ(buffers.depth[row * WIDTH + column], inSpan ? static_cast<int32_t>(length) : INT32_MAX)
                    << rasterIsaName(isa) << " format " << format << " slot " << slot << " length " << length;
              }
            }
          }
        }
      }
    }
  }
}

// The prestep places the first row's values part of the way along the edge.
TEST(TriangleHalf, PrestepInterpolatesTheFirstRow) {
  RasterCanvas canvas(Rgb32, 4, 8);
  Half half(0.5, 4.5, 0.0, 1.0);
  half.start.c1 = 0;
  half.end.c1 = 200 << 16;
  half.prestep = 0.25f;
  half.draw(canvas, trianglesOf(Rgb32)[RF_SMOOTH]);
  // Row 0 at 50; edgeHeight 3.5 rows: (200 - 50) / 3.5 = 42.857 per row.
  EXPECT_EQ(canvas.pixel(0, 0), 50u << 8);
  EXPECT_EQ(canvas.pixel(1, 0), 92u << 8);
  EXPECT_EQ(canvas.pixel(2, 0), 135u << 8);
  EXPECT_EQ(canvas.pixel(3, 0), 178u << 8);
}

struct DepthCase {
  uint32_t mode;
  int32_t z, stored;
  bool drawn;
  int32_t depthAfter;
};

class TriangleDepth : public testing::TestWithParam<DepthCase> {};

TEST_P(TriangleDepth, TestsAndWritesByMode) {
  const DepthCase& d = GetParam();
  for (uint32_t format : {Rgb32, Rgb16, Indexed8}) {
    RasterCanvas canvas(format, 12, 2);
    canvas.fillPixels(0);
    for (uint32_t column = 0; column < 12; ++column) canvas.depthAt(0, column) = d.stored;
    Half half(0.0, 1.0, 0.0, 12.0);
    half.setColour(255, 255, 255);
    half.setBoth([&](RasterVertex& v) { v.z = d.z; });
    half.draw(canvas, trianglesOf(format)[d.mode]);
    for (uint32_t column = 0; column < 12; ++column) {
      EXPECT_EQ(canvas.pixel(0, column) != 0, d.drawn) << format << " " << column;
      EXPECT_EQ(canvas.depthAt(0, column), d.depthAfter) << format << " " << column;
    }
    EXPECT_EQ(canvas.depthAt(1, 0), 0x7FFFFFFF);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, TriangleDepth,
                         testing::Values(DepthCase{0, 500, 100, true, 100}, DepthCase{1, 99, 100, true, 100},
                                         DepthCase{1, 100, 100, false, 100}, DepthCase{3, 100, 100, false, 100},
                                         DepthCase{3, 99, 100, true, 99}, DepthCase{3, -7, -6, true, -7},
                                         DepthCase{3, -6, -7, false, -7}, DepthCase{2, 500, 100, true, 500},
                                         DepthCase{2, 5, 100, true, 5}));

// The depth steps along the row like every other quantity.
TEST(TriangleDepthStep, DepthInterpolatesAcrossTheRow) {
  RasterCanvas canvas(Rgb32, 12, 1);
  canvas.fillPixels(0);
  for (uint32_t column = 0; column < 12; ++column) canvas.depthAt(0, column) = 1000;
  Half half(0.0, 1.0, 0.0, 12.0);
  half.setColour(9, 9, 9);
  half.setBoth([](RasterVertex& v) { v.z = 945; });
  half.primitive.dzdx = 10;  // 945, 955, ... 1055: the first six pass
  half.draw(canvas, trianglesOf(Rgb32)[3]);
  for (uint32_t column = 0; column < 12; ++column) {
    EXPECT_EQ(canvas.pixel(0, column), column < 6 ? 0x090909u : 0u) << column;
    EXPECT_EQ(canvas.depthAt(0, column), column < 6 ? 945 + 10 * static_cast<int32_t>(column) : 1000);
  }
}

// Every colour step on one set of inputs: colour (200, 100, 10), texel
// (128, 255, 0), specular (100, 20, 0), alpha 128, fog amount 64 towards
// (0, 0, 255), stored pixel (100, 50, 255). Values are P[a][b] = (ab+128)/255
// worked by hand, e.g. blend red P[128][200] + P[127][100] = 100 + 50.
struct StepCase {
  uint32_t features;  // slot bits above smooth
  uint32_t r, g, b;
};

const StepCase stepCases[] = {
    {0, 200, 100, 10},                                             // flat, smooth
    {RF_BLEND, 150, 75, 132},                                      // blend
    {RF_TEXTURE, 100, 100, 0},                                     // textured
    {RF_TEXTURE | RF_BLEND, 100, 75, 127},                         // textured blend
    {RF_SPECULAR, 255, 120, 10},                                   // specular: 200 + 100 saturates
    {RF_SPECULAR | RF_BLEND, 178, 85, 132},                        // combined blend, no fog
    {RF_SPECULAR | RF_TEXTURE, 200, 120, 0},                       // specular textured
    {RF_SPECULAR | RF_TEXTURE | RF_BLEND, 150, 85, 127},           // combined textured blend, no fog
    {RF_FOG, 150, 75, 71},                                         // fog
    {RF_FOG | RF_BLEND, 112, 56, 163},                             // combined blend, no specular
    {RF_FOG | RF_TEXTURE, 75, 75, 64},                             // fog textured
    {RF_FOG | RF_TEXTURE | RF_BLEND, 75, 56, 159},                 // combined textured blend, no specular
    {RF_FOG | RF_SPECULAR, 191, 90, 71},                           // fog and specular
    {RF_FOG | RF_SPECULAR | RF_BLEND, 133, 64, 163},               // combined blend
    {RF_FOG | RF_SPECULAR | RF_TEXTURE, 150, 90, 64},              // fog, specular and texture
    {RF_FOG | RF_SPECULAR | RF_TEXTURE | RF_BLEND, 112, 64, 159},  // combined textured blend
};

void setStepInputs(Half& half) {
  half.setColour(200, 100, 10);
  half.setBoth([](RasterVertex& v) {
    v.z = 5;
    v.a = 128 << 16;
    v.s0 = 100 << 16;
    v.s1 = 20 << 16;
    v.s2 = 0;
    v.f = 64 << 16;
    v.u = 0x3000;
    v.v = 0x8000;
  });
}

TEST(TriangleColourStep, EverySlotGivesItsGroupsBytes) {
  for (uint32_t format : {Rgb32, Rgb24}) {
    for (uint32_t slot = 0; slot < TRIANGLE_TABLE_SIZE; ++slot) {
      RasterCanvas canvas(format, 20, 3);
      canvas.fillPixels(0x6432FF);
      canvas.setTexture(0, 0, {0xFF80FF00u});
      canvas.setFog(0, 0, 255);
      Half half(1.0, 2.0, 1.0, 19.0);
      setStepInputs(half);
      half.draw(canvas, trianglesOf(format)[slot]);
      const StepCase* expected = nullptr;
      for (const StepCase& c : stepCases) {
        if (c.features == (slot & ~(RF_SMOOTH | 3u))) expected = &c;
      }
      ASSERT_NE(expected, nullptr);
      const uint32_t want = (expected->r << 16) | (expected->g << 8) | expected->b;
      for (uint32_t column = 1; column < 19; ++column) {
        ASSERT_EQ(canvas.pixel(1, column), want) << "format " << format << " slot " << slot << " column " << column;
      }
      EXPECT_EQ(canvas.pixel(1, 0), 0x6432FFu);
      EXPECT_EQ(canvas.pixel(1, 19), 0x6432FFu);
      EXPECT_EQ(canvas.pixel(0, 5), 0x6432FFu);
      EXPECT_EQ(canvas.pixel(2, 5), 0x6432FFu);
      EXPECT_TRUE(canvas.paddingUntouched());
    }
  }
}

// Flat groups take their colour from the left edge's start, not from the
// interpolation; the smooth ones interpolate.
TEST(TriangleColourStep, FlatUsesTheStartColour) {
  RasterCanvas canvas(Rgb32, 4, 4);
  Half half(0.0, 2.0, 0.0, 4.0);
  half.start.c0 = 10 << 16;
  half.end.c0 = 250 << 16;
  half.primitive.dc0dx = 30 << 16;
  half.draw(canvas, trianglesOf(Rgb32)[0]);
  EXPECT_EQ(canvas.pixel(1, 3), 10u << 16);
  half.draw(canvas, trianglesOf(Rgb32)[RF_SMOOTH]);
  EXPECT_EQ(canvas.pixel(0, 3), 100u << 16);
  EXPECT_EQ(canvas.pixel(1, 0), 250u << 16);
}

// Drifted 8.16 values are clamped before use: below zero gives 0, past 255
// gives 255.
TEST(TriangleColourStep, ClampsDriftedChannels) {
  RasterCanvas canvas(Rgb16, 8, 1);
  Half half(0.0, 1.0, 0.0, 8.0);
  half.setBoth([](RasterVertex& v) {
    v.c0 = -0x8000;
    v.c1 = 0xFF8000;
    v.c2 = 0x10000;
  });
  half.primitive.dc0dx = 0x4000;
  half.primitive.dc1dx = 0x4000;
  half.primitive.dc2dx = -0x20000;
  half.draw(canvas, trianglesOf(Rgb16)[RF_SMOOTH]);
  EXPECT_EQ(canvas.pixel(0, 0), Rgb16Format::encode(Rgb8{0, 255, 1}));
  EXPECT_EQ(canvas.pixel(0, 1), Rgb16Format::encode(Rgb8{0, 255, 0}));
  EXPECT_EQ(canvas.pixel(0, 2), Rgb16Format::encode(Rgb8{0, 255, 0}));
  EXPECT_EQ(canvas.pixel(0, 7), Rgb16Format::encode(Rgb8{1, 255, 0}));
}

TEST(TriangleBlend, OpaqueGivesSourceAndTransparentKeepsStored) {
  for (uint32_t format : {Rgb32, Rgb16, Rgb555, Rgb24}) {
    RasterCanvas canvas(format, 12, 2);
    canvas.fillPixels(format == Rgb32 || format == Rgb24 ? 0x123456 : 0x7BCD);
    Half half(0.0, 1.0, 0.0, 12.0);
    half.setColour(0xF8, 0x80, 0x08);
    half.setBoth([](RasterVertex& v) { v.a = 255 << 16; });
    half.draw(canvas, trianglesOf(format)[RF_BLEND]);
    const uint32_t source = format == Rgb16    ? Rgb16Format::encode(Rgb8{0xF8, 0x80, 0x08})
                            : format == Rgb555 ? Rgb555Format::encode(Rgb8{0xF8, 0x80, 0x08})
                                               : 0xF88008;
    EXPECT_EQ(canvas.pixel(0, 11), source) << format;
    half.setBoth([](RasterVertex& v) { v.a = 0; });
    half.setColour(0, 0, 0);
    const uint32_t before = canvas.pixel(1, 4);
    Half lower = half;
    lower.start.y = fixed16(1.0);
    lower.end.y = fixed16(2.0);
    lower.draw(canvas, trianglesOf(format)[RF_BLEND]);
    EXPECT_EQ(canvas.pixel(1, 4), before) << format;
  }
}

// Blending into an indexed buffer reads the stored index as the intensity of
// all three channels.
TEST(TriangleBlend, IndexedReadsTheStoredIndexBack) {
  RasterCanvas canvas(Indexed8, 4, 1);
  canvas.fillPixels(170);
  Half half(0.0, 1.0, 0.0, 4.0);
  half.setColour(0, 255, 255);
  half.setBoth([](RasterVertex& v) { v.a = 128 << 16; });
  half.draw(canvas, rasterTablesFor(Indexed8)->ditheredTriangles[RF_BLEND]);
  // red P[127][170] = 85, green and blue 128 + 85 = 213: levels 1, 2 (+1 when
  // 43 exceeds the threshold) → index 1 + 4 (2 + carry) + 16 (2 + carry).
  for (uint32_t column = 0; column < 4; ++column) {
    const uint32_t carry = 43 > DitherMatrix[column] ? 1 : 0;
    EXPECT_EQ(canvas.pixel(0, column), 100 + 1 + 4 * (2 + carry) + 16 * (2 + carry)) << column;
  }
}

TEST(TriangleFog, AmountZeroKeepsColourAndFullAmountGivesFogColour) {
  RasterCanvas canvas(Rgb32, 9, 2);
  canvas.setFog(0x40, 0xC0, 0x20);
  Half half(0.0, 1.0, 0.0, 9.0);
  half.setColour(0x12, 0x34, 0x56);
  half.draw(canvas, trianglesOf(Rgb32)[RF_FOG]);
  EXPECT_EQ(canvas.pixel(0, 8), 0x123456u);
  half.setBoth([](RasterVertex& v) { v.f = 255 << 16; });
  half.draw(canvas, trianglesOf(Rgb32)[RF_FOG]);
  EXPECT_EQ(canvas.pixel(0, 8), 0x40C020u);
}

// A 4 x 2 texture whose texel i has red 10 i; colour white so the texel
// shows through unchanged.
TEST(TriangleTexture, CoordinatesRepeatAndStepAcrossTheRow) {
  RasterCanvas canvas(Rgb32, 10, 2);
  canvas.setTexture(2, 1, {0, 10u << 16, 20u << 16, 30u << 16, 40u << 16, 50u << 16, 60u << 16, 70u << 16});
  Half half(0.0, 1.0, 0.0, 10.0);
  half.setColour(255, 255, 255);
  half.setBoth([](RasterVertex& v) {
    v.u = 0x14000;  // 1.25: column 1, like 0.25
    v.v = 0x28000;  // 2.5: row 1
  });
  half.primitive.dudx = 0x4000;  // a quarter: one texel per pixel
  half.draw(canvas, trianglesOf(Rgb32)[RF_TEXTURE]);
  const uint32_t reds[10] = {50, 60, 70, 40, 50, 60, 70, 40, 50, 60};
  for (uint32_t column = 0; column < 10; ++column) EXPECT_EQ(canvas.pixel(0, column), reds[column] << 16) << column;
}

TEST(TriangleTexture, SizeOneAlwaysReadsColumnZero) {
  RasterCanvas canvas(Rgb32, 12, 1);
  canvas.setTexture(0, 1, {10u << 16, 20u << 16});
  Half half(0.0, 1.0, 0.0, 12.0);
  half.setColour(255, 255, 255);
  half.setBoth([](RasterVertex& v) {
    v.u = 0x12345;
    v.v = 0x8000;  // row 1
  });
  half.primitive.dudx = 0x7654321;
  half.primitive.dvdx = 0;
  half.draw(canvas, trianglesOf(Rgb32)[RF_TEXTURE | RF_SMOOTH]);
  for (uint32_t column = 0; column < 12; ++column) EXPECT_EQ(canvas.pixel(0, column), 20u << 16) << column;
  half.setBoth([](RasterVertex& v) { v.v = 0x4000; });  // row 0
  half.draw(canvas, trianglesOf(Rgb32)[RF_TEXTURE | RF_SMOOTH]);
  EXPECT_EQ(canvas.pixel(0, 11), 10u << 16);
}

// A texture seen at its own scale is read a run of texels at a time in the
// widest copy: runs end with the texture's row, whatever the span. Texel c
// of the last row (the texture ends at a page that may not be touched) has
// red 8 c; row 0 has green. A white span of 40 pixels from u = start texel,
// one texel per pixel, wraps round the 32 texels.
TEST(TriangleTexture, TexelRunsStayInsideTheTexture) {
  constexpr uint32_t TEXELS = 32;
  GuardedBuffers memory(TEXELS, 2, 4, true);  // its colour page holds the texels
  auto* texels = reinterpret_cast<uint32_t*>(memory.color);
  for (uint32_t c = 0; c < TEXELS; ++c) {
    texels[c] = 0x0000FF00u;
    texels[TEXELS + c] = (8 * c) << 16;
  }
  for (RasterIsa isa : RASTER_ISAS) {
    if (!rasterIsaAvailable(isa)) continue;
    for (uint32_t start = 0; start < TEXELS; start += 3) {
      RasterCanvas canvas(Rgb32, 40, 1);
      canvas.setTexture(5, 1, std::vector<uint32_t>(texels, texels + 2 * TEXELS));
      RasterTarget target = *canvas.target();
      target.texels = texels;
      Half half(0.0, 1.0, 0.0, 40.0);
      half.setColour(255, 255, 255);
      half.setBoth([start](RasterVertex& v) {
        v.u = static_cast<int32_t>(start * 2048 + 1024);  // the texel's middle, 1/32 of 1.0 apiece
        v.v = 0xC000;                                     // row 1
      });
      half.primitive.dudx = 2048;
      rasterTablesForIsa(isa, Rgb32)
          ->triangles[RF_TEXTURE | RF_SMOOTH](&target, &half.primitive, &half.start, &half.end, half.leftX, half.rightX,
                                              0, 0, 0.0f);
      for (uint32_t column = 0; column < 40; ++column) {
        EXPECT_EQ(canvas.pixel(0, column), (8 * ((start + column) % TEXELS)) << 16)
            << rasterIsaName(isa) << " start " << start << " column " << column;
      }
    }
  }
}

TEST(TriangleDither, ConstantLevelColourStoresOneIndexEverywhere) {
  RasterCanvas canvas(Indexed8, 13, 6, 3);
  Half half(0.0, 6.0, 0.0, 13.0);
  half.setColour(85, 170, 255);
  for (uint32_t slot : {0u, 3u, RF_SMOOTH}) {
    canvas.fillPixels(0);
    half.draw(canvas, rasterTablesFor(Indexed8)->ditheredTriangles[slot]);
    for (uint32_t row = 0; row < 6; ++row) {
      for (uint32_t column = 0; column < 13; ++column) EXPECT_EQ(canvas.pixel(row, column), 100u + 57) << row;
    }
    EXPECT_TRUE(canvas.paddingUntouched());
  }
}

// Intensity 40 takes level 1 only where the threshold is below 40; the
// threshold follows the row and the pixel's byte offset (rows are 15 bytes).
TEST(TriangleDither, ThresholdFollowsRowAndByteOffset) {
  RasterCanvas canvas(Indexed8, 12, 4, 3);
  Half half(0.0, 4.0, 0.0, 12.0);
  half.setColour(40, 0, 0);
  half.draw(canvas, rasterTablesFor(Indexed8)->ditheredTriangles[0]);
  for (uint32_t row = 0; row < 4; ++row) {
    for (uint32_t column = 0; column < 12; ++column) {
      const uint32_t threshold = DitherMatrix[(row & 3) * 4 + ((row * 15 + column) & 3)];
      EXPECT_EQ(canvas.pixel(row, column), threshold < 40 ? 101u : 100u) << row << "," << column;
    }
  }
}

TEST(TriangleIndexed, PlainTableStoresNearestColour) {
  RasterCanvas canvas(Indexed8, 10, 2);
  Half half(0.0, 1.0, 0.0, 10.0);
  half.setColour(255, 0x1F, 0x20);  // levels 15, 1, 2: index 15 + 16 + 512
  half.draw(canvas, trianglesOf(Indexed8)[0]);
  EXPECT_EQ(canvas.pixel(0, 9), canvas.map12[15 + 16 + 512]);
}

TEST(TriangleFormats, StoresOfEachFormat) {
  struct FormatCase {
    uint32_t format;
    uint32_t stored;
  };
  for (const FormatCase& c : {FormatCase{Rgb32, 0xFF8007u}, FormatCase{Rgb24, 0xFF8007u}, FormatCase{Rgb16, 0xFC00u},
                              FormatCase{Rgb555, 0x7E00u}}) {
    RasterCanvas canvas(c.format, 11, 3, 2);
    Half half(1.0, 2.0, 0.0, 11.0);
    half.setColour(255, 128, 7);
    for (uint32_t slot : {0u, 3u, RF_SMOOTH | 2u}) {
      canvas.fillPixels(0);
      std::fill(canvas.depth.begin(), canvas.depth.end(), 1);
      half.draw(canvas, trianglesOf(c.format)[slot]);
      for (uint32_t column = 0; column < 11; ++column) EXPECT_EQ(canvas.pixel(1, column), c.stored) << c.format;
      EXPECT_EQ(canvas.pixel(0, 0), 0u);
      EXPECT_EQ(canvas.pixel(2, 10), 0u);
      EXPECT_TRUE(canvas.paddingUntouched());
    }
  }
}

}  // namespace
