// Frames in every pixel format and render mode: a flat-coloured rectangle
// facing the eye under an orthographic view (about one model unit per pixel),
// its edges, its corners, line and point models, each checked pixel by pixel
// against the clear colour outside and the colour's encoding inside.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr int kHeight = 24;
constexpr uint32_t kClear = 0x203040;  // (32, 48, 64)
constexpr uint32_t kQuad = 0xC86432;   // (200, 100, 50)
constexpr float kDepth = 5.0f;         // the rectangle lies at z = -5, in front of the eye

struct FrameCase {
  Format format;
  int width;  // 29 makes every format's rows padded in the colour buffer
};

std::string frameCaseName(const ::testing::TestParamInfo<FrameCase>& info) {
  return std::string(formatName(info.param.format)) + "_w" + std::to_string(info.param.width);
}

class FrameScenario : public Scenario, public ::testing::WithParamInterface<FrameCase> {
 protected:
  // A cleared frame under the orthographic view with model colours as emission.
  Screen& begin() {
    Screen& s = openScreen(GetParam().format, GetParam().width, kHeight, NO_BUFFERS);
    beginFrame(s, kClear, COLOR);
    s.g.doSetOrthographicProjection(static_cast<float>(s.width) / 2, static_cast<float>(kHeight) / 2, 1.0f, 100.0f);
    return s;
  }
  // The rectangle x -8..8, y -6..6 drawn in a render mode (0 filled, 1 edges,
  // 2 corners) into a cleared frame.
  Screen& drawRectangleIn(int32_t mode) {
    Screen& s = begin();
    s.g.setModelRenderMode(mode);
    s.g.doRender(makeQuad(-8, -6, 8, 6, -kDepth, OPAQUE | kQuad));
    s.g.endRendering();
    return s;
  }
  View view() const { return View::ortho(GetParam().width, kHeight); }
  uint32_t background() const { return shownFlat(GetParam().format, kClear); }
  // The pixel columns and rows of the rectangle's corners.
  struct Corners {
    int left, right, top, bottom;
  };
  Corners corners() const {
    const View v = view();
    return {v.column(-8, kDepth), v.column(8, kDepth), v.row(6, kDepth), v.row(-6, kDepth)};
  }
};

// The encodings of the two colours, worked by hand from the format layouts.
TEST(FrameEncodings, HandWorkedValues) {
  EXPECT_EQ(storedPixel(Format::Rgb32, kQuad), 0xC86432u);
  EXPECT_EQ(storedPixel(Format::Rgb16, kQuad), 0xCB26u);   // 11001 011001 00110
  EXPECT_EQ(storedPixel(Format::Rgb555, kQuad), 0x6586u);  // 11001 01100 00110
  EXPECT_EQ(storedPixel(Format::Rgb16, kClear), 0x2188u);
  EXPECT_EQ(storedPixel(Format::Rgb555, kClear), 0x10C8u);
  // Widened by the display: 11001 -> 11001110, 011001 -> 01100101, 00110 -> 00110001.
  EXPECT_EQ(shownPixel(Format::Rgb16, 0xCB26), 0xCE6531u);
  EXPECT_EQ(shownPixel(Format::Rgb555, 0x6586), 0xCE6331u);
  // (200, 100, 50) has 4-bit levels (12, 6, 3), that is (204, 102, 51): slot
  // 36 * 4 + 6 * 2 + 1 of the display's colour cube.
  EXPECT_EQ(storedPixel(Format::Indexed8, kQuad), 157u);
  EXPECT_EQ(shownPixel(Format::Indexed8, 157), 0xCC6633u);
  // Dither of (85, 170, 255): remainders 0, so levels (1, 2, 3) at every pixel.
  EXPECT_EQ(ditheredIndex(0x55AAFF, 0, 0), ditheredIndex(0x55AAFF, 3, 2));
}

TEST_P(FrameScenario, ClearFillsEveryPixel) {
  Screen& s = begin();
  s.g.endRendering();
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int, int) { return background(); }));
}

TEST_P(FrameScenario, FilledRectangle) {
  Screen& s = drawRectangleIn(0);
  const PixelRect rect = quadPixels(view(), -8, -6, 8, 6, kDepth);
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) {
    return rect.contains(c, r) ? shownTriangle(s.format, kQuad, r, c) : background();
  }));
}

// Edge mode draws each triangle's three edges as lines: the rectangle's
// border and its diagonal (twice), each line without its end pixel.
TEST_P(FrameScenario, EdgesOfTheRectangle) {
  Screen& s = drawRectangleIn(1);
  const auto [left, right, top, bottom] = corners();
  const std::pair<int, int> corner[4] = {{left, bottom}, {right, bottom}, {right, top}, {left, top}};
  std::set<std::pair<int, int>> lit;
  for (auto [a, b] : {std::pair{0, 1}, {1, 2}, {2, 0}, {0, 2}, {2, 3}, {3, 0}}) {
    for (auto p : linePixels(corner[a].first, corner[a].second, corner[b].first, corner[b].second)) lit.insert(p);
  }
  // The border is closed: every pixel of the rectangle's outline is lit.
  EXPECT_EQ(lit.count({left, top}) + lit.count({right, top}) + lit.count({right, bottom}) + lit.count({left, bottom}),
            4u);
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) {
    return lit.count({c, r}) ? shownFlat(s.format, kQuad) : background();
  }));
}

// Point mode draws each triangle's corners: the rectangle's four corners.
TEST_P(FrameScenario, CornersOfTheRectangle) {
  Screen& s = drawRectangleIn(2);
  const auto [left, right, top, bottom] = corners();
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) {
    const bool corner = (c == left || c == right) && (r == top || r == bottom);
    return corner ? shownFlat(s.format, kQuad) : background();
  }));
}

// A line model: a horizontal line from column a to b draws a..b-1; a steep
// line steps one row per pixel; a smooth line from red 0 to red 255 over four
// pixels steps by 0xFF0000 / 4 in 8.16: intensities 0, 63, 127, 191.
TEST_P(FrameScenario, LineModel) {
  Screen& s = begin();
  const float xyz[] = {-8,   0.5f,  -kDepth, 8,     0.5f,  -kDepth,   // horizontal
                       9.6f, -7.3f, -kDepth, 12.3f, 9.4f,  -kDepth,   // steep
                       -8,   -9.4f, -kDepth, -4,    -9.4f, -kDepth};  // smooth red ramp
  const uint32_t colors[] = {OPAQUE | kQuad,    OPAQUE | kQuad,    OPAQUE | 0x10E040,
                             OPAQUE | 0x10E040, OPAQUE | 0x000000, OPAQUE | 0xFF0000};
  s.g.doRender(makeLines(xyz, colors));
  s.g.endRendering();

  const View v = view();
  std::vector<std::pair<std::pair<int, int>, uint32_t>> expected;
  const int a = v.column(-8, kDepth), b = v.column(8, kDepth), row = v.row(0.5f, kDepth);
  for (int c = a; c < b; ++c) expected.push_back({{c, row}, kQuad});
  for (auto p :
       linePixels(v.column(9.6f, kDepth), v.row(-7.3f, kDepth), v.column(12.3f, kDepth), v.row(9.4f, kDepth))) {
    expected.push_back({p, 0x10E040});
  }
  const int rampStart = v.column(-8, kDepth), rampRow = v.row(-9.4f, kDepth);
  ASSERT_EQ(v.column(-4, kDepth) - rampStart, 4);
  const uint32_t ramp[4] = {0x000000, 0x3F0000, 0x7F0000, 0xBF0000};
  for (int i = 0; i < 4; ++i) expected.push_back({{rampStart + i, rampRow}, ramp[i]});

  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) {
    for (const auto& [p, rgb] : expected) {
      if (p == std::pair{c, r}) return shownFlat(s.format, rgb);
    }
    return background();
  }));
}

// A point model: one pixel per point, in the point's own colour.
TEST_P(FrameScenario, PointModel) {
  Screen& s = begin();
  const float xyz[] = {0.3f, 0.5f, -kDepth, -10.3f, 7.2f, -kDepth, 9.6f, -8.4f, -kDepth, 3.3f, 3.3f, -2};
  const uint32_t colors[] = {OPAQUE | kQuad, OPAQUE | 0xFFFFFF, OPAQUE | 0x0000FF, OPAQUE | 0x00FF00};
  s.g.doRender(makePoints(xyz, colors));
  s.g.endRendering();
  const View v = view();
  const std::pair<int, int> at[4] = {{v.column(0.3f, kDepth), v.row(0.5f, kDepth)},
                                     {v.column(-10.3f, kDepth), v.row(7.2f, kDepth)},
                                     {v.column(9.6f, kDepth), v.row(-8.4f, kDepth)},
                                     {v.column(3.3f, 2), v.row(3.3f, 2)}};
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) {
    for (int i = 0; i < 4; ++i) {
      if (at[i] == std::pair{c, r}) return shownFlat(s.format, colors[i] & 0xFFFFFF);
    }
    return background();
  }));
}

INSTANTIATE_TEST_SUITE_P(Formats, FrameScenario,
                         ::testing::Values(FrameCase{Format::Rgb32, 32}, FrameCase{Format::Rgb24, 32},
                                           FrameCase{Format::Rgb16, 32}, FrameCase{Format::Rgb555, 32},
                                           FrameCase{Format::Indexed8, 32}, FrameCase{Format::Indexed8Dithered, 32},
                                           FrameCase{Format::Rgb32, 29}, FrameCase{Format::Rgb24, 29},
                                           FrameCase{Format::Rgb16, 29}, FrameCase{Format::Rgb555, 29},
                                           FrameCase{Format::Indexed8, 29}, FrameCase{Format::Indexed8Dithered, 29}),
                         frameCaseName);

}  // namespace
}  // namespace e2e
