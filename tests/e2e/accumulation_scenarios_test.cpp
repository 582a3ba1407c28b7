// The accumulation buffer as a program uses it: two frames blended half and
// half, and a sum scaled before it is written back. Expected pixels come from
// the scale tables: entry i of (inBits, outBits, s) is
// (i * K + 2^(inBits-1)) / (2^inBits - 1) with K = trunc((2^outBits - 1) * s).
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr int kHeight = 12;
constexpr uint32_t kFrameA = 0xC86432, kQuad = 0x30F0A0, kFrameB = 0x6410E6;

struct AccumCase {
  Format format;
  int width;
};

std::vector<uint32_t> scaleTable(int inBits, int outBits, float s) {
  const int64_t k = static_cast<int64_t>(static_cast<float>((1 << outBits) - 1) * s);
  std::vector<uint32_t> table(static_cast<std::size_t>(1) << inBits);
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = static_cast<uint32_t>((static_cast<int64_t>(i) * k + (1 << (inBits - 1))) / ((1 << inBits) - 1));
  }
  return table;
}

// A stored pixel's channels as the accumulation reads them, and the width of
// the pixel side of its tables: 5-6-5 reads red and blue as 6-bit values.
struct Channels {
  uint32_t c[3];
  int bits;
};

Channels channelsOf(Format format, uint32_t p) {
  switch (format) {
    case Format::Rgb555: return {{(p >> 10) & 31, (p >> 5) & 31, p & 31}, 5};
    case Format::Rgb16: return {{((p >> 11) & 31) * 2, (p >> 5) & 63, (p & 31) * 2}, 6};
    default: return {{(p >> 16) & 255, (p >> 8) & 255, p & 255}, 8};
  }
}

uint32_t pixelOf(Format format, const uint32_t c[3]) {
  switch (format) {
    case Format::Rgb555: return c[0] << 10 | c[1] << 5 | c[2];
    case Format::Rgb16: return (c[0] >> 1) << 11 | c[1] << 5 | (c[2] >> 1);
    default: return c[0] << 16 | c[1] << 8 | c[2];
  }
}

// accumLoad(sa) of a, accumulate(sb) of b, accumMult(m), accumReturn(r).
uint32_t accumulated(Format format, uint32_t a, float sa, uint32_t b, float sb, float m, float r) {
  const Channels ca = channelsOf(format, a), cb = channelsOf(format, b);
  const auto load = scaleTable(ca.bits, 10, sa), add = scaleTable(ca.bits, 10, sb);
  const auto mult = scaleTable(10, 10, m), back = scaleTable(10, ca.bits, r);
  uint32_t out[3];
  for (int i = 0; i < 3; ++i) out[i] = back[mult[load[ca.c[i]] + (sb > 0 ? add[cb.c[i]] : 0)]];
  return pixelOf(format, out);
}

class AccumulationScenario : public Scenario, public ::testing::WithParamInterface<AccumCase> {
 protected:
  Screen& begin() {
    Screen& s = openScreen(GetParam().format, GetParam().width, kHeight, ACCUM_BUFFER);
    s.g.beginRendering();
    s.g.doSetOrthographicProjection(static_cast<float>(s.width) / 2, kHeight / 2.0f, 1.0f, 100.0f);
    useColorsAsEmission(s.g);
    s.g.clear(ACCUM);
    return s;
  }
  // Frame A: its clear colour with a rectangle x -4..4, y -3..3 on it.
  void drawFrameA(Screen& s) {
    s.g.doSetClearColor(static_cast<int32_t>(kFrameA));
    s.g.clear(COLOR);
    s.g.doRender(makeQuad(-4, -3, 4, 3, -5, OPAQUE | kQuad));
  }
  PixelRect quadRect() const { return quadPixels(View::ortho(GetParam().width, kHeight), -4, -3, 4, 3, 5); }
};

TEST(AccumulationTables, HandWorkedValues) {
  // Half of 200 and half of 100: T[200] = 102328 / 255 = 401, T[100] = 51228 /
  // 255 = 200; back to 8 bits, (601 * 255 + 512) / 1023 = 150.
  EXPECT_EQ(scaleTable(8, 10, 0.5f)[200], 401u);
  EXPECT_EQ(scaleTable(8, 10, 0.5f)[100], 200u);
  EXPECT_EQ(scaleTable(10, 8, 1.0f)[601], 150u);
  EXPECT_EQ(accumulated(Format::Rgb32, 0xC80000, 0.5f, 0x640000, 0.5f, 1.0f, 1.0f), 0x960000u);
  // The worked values of the tables themselves.
  EXPECT_EQ(scaleTable(5, 10, 1.0f)[31], 1023u);
  EXPECT_EQ(scaleTable(5, 10, 1.0f)[16], 528u);
  EXPECT_EQ(scaleTable(10, 8, 1.0f)[512], 128u);
  EXPECT_EQ(scaleTable(10, 10, 0.5f)[1023], 511u);
}

// accumLoad(0.5) of frame A, accumulate(0.5) of frame B, accumReturn(1): each
// channel the rounded average.
TEST_P(AccumulationScenario, TwoFrameBlend) {
  Screen& s = begin();
  const Format f = s.format;
  drawFrameA(s);
  s.g.accumLoad(0.5f);
  s.g.doSetClearColor(static_cast<int32_t>(kFrameB));
  s.g.clear(COLOR);
  s.g.accumulate(0.5f);
  s.g.accumReturn(1.0f);
  s.g.endRendering();
  const uint32_t b = storedPixel(f, kFrameB);
  const uint32_t outside = accumulated(f, storedPixel(f, kFrameA), 0.5f, b, 0.5f, 1.0f, 1.0f);
  const uint32_t inside = accumulated(f, storedPixel(f, kQuad), 0.5f, b, 0.5f, 1.0f, 1.0f);
  const PixelRect rect = quadRect();
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(
      framePixelsAre(s, pixels, [&](int c, int r) { return shownPixel(f, rect.contains(c, r) ? inside : outside); }));
}

// A new accumulation buffer holds zero: accumulating a frame into it before
// any clear and returning it gives the frame back.
TEST_P(AccumulationScenario, NewBufferStartsAtZero) {
  Screen& s = openScreen(GetParam().format, GetParam().width, kHeight, ACCUM_BUFFER);
  s.g.beginRendering();
  s.g.doSetOrthographicProjection(static_cast<float>(s.width) / 2, kHeight / 2.0f, 1.0f, 100.0f);
  useColorsAsEmission(s.g);
  drawFrameA(s);
  const std::vector<uint32_t> original = s.paint();
  s.g.accumulate(1.0f);
  s.g.clear(COLOR);
  s.g.accumReturn(1.0f);
  s.g.endRendering();
  EXPECT_EQ(s.paint(), original);
}

// Loading with 1 and returning with 1 gives the frame back; accumMult(2) is
// taken as 1; accumMult(0.5) halves; accumMult(-1) is taken as 0.
TEST_P(AccumulationScenario, ScaleTheSum) {
  Screen& s = begin();
  const Format f = s.format;
  drawFrameA(s);
  const PixelRect rect = quadRect();
  const std::vector<uint32_t> original = s.paint();
  s.g.accumLoad(1.0f);
  s.g.clear(COLOR);
  s.g.accumMult(2.0f);
  s.g.accumReturn(1.0f);
  EXPECT_EQ(s.paint(), original);

  s.g.accumMult(0.5f);
  s.g.accumReturn(1.0f);
  const uint32_t a = storedPixel(f, kFrameA), q = storedPixel(f, kQuad);
  std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) {
    return shownPixel(f, accumulated(f, rect.contains(c, r) ? q : a, 1.0f, 0, 0.0f, 0.5f, 1.0f));
  }));

  s.g.accumMult(-1.0f);
  s.g.accumReturn(1.0f);
  s.g.endRendering();
  pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int, int) { return 0u; }));
}

INSTANTIATE_TEST_SUITE_P(Formats, AccumulationScenario,
                         ::testing::Values(AccumCase{Format::Rgb32, 16}, AccumCase{Format::Rgb24, 16},
                                           AccumCase{Format::Rgb16, 16}, AccumCase{Format::Rgb555, 16},
                                           AccumCase{Format::Rgb24, 13}, AccumCase{Format::Rgb16, 13},
                                           AccumCase{Format::Rgb555, 13}),
                         [](const ::testing::TestParamInfo<AccumCase>& info) {
                           return std::string(formatName(info.param.format)) + "_w" + std::to_string(info.param.width);
                         });

}  // namespace
}  // namespace e2e
