// Geometry beyond the simple cases: a model far larger than one batch, one
// queue and the vertex cache, which must draw exactly as its pieces drawn one
// by one; geometry reaching out of the view, clipped to it; and models that
// draw nothing at all; triangles that meet without holes.
#include <algorithm>
#include <array>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr uint32_t kClear = 0x203040;

class LargeModelScenario : public Scenario {};

// A grid of 40 x 30 cells on 41 x 31 shared vertices (1271 vertices: more
// than the cache's 1024 slots; 2400 triangles: many batches and queues), one
// colour per triangle. Drawn whole, and drawn as 1200 models of one cell
// each, the frames are the same pixel for pixel.
TEST_F(LargeModelScenario, BigModelMatchesItsPieces) {
  constexpr int kColumns = 40, kRows = 30, kW = 64, kH = 48;
  auto vertex = [](int i, int j) {
    return std::array<float, 3>{-15.6f + 0.78f * i, -11.7f + 0.78f * j, -5.0f - 0.01f * i};
  };
  auto cellColor = [](int i, int j, int half) {
    return OPAQUE | static_cast<uint32_t>((i * 6) << 16 | (j * 8) << 8 | (half ? 0xC0 : 0x40));
  };
  auto makeModel = [](std::span<const float> xyz, std::span<const int32_t> indices, std::span<const int32_t> colors) {
    KELRendModel m = KELRendModel::create();
    m.setPrimitiveKind(KELRendModel::TRIANGLES);
    m.setPrimitiveCount(static_cast<int32_t>(indices.size() / 3));
    m.setVertexCount(static_cast<int32_t>(xyz.size() / 3));
    m.setVertices(FloatArray::of(xyz));
    m.setVertexIndices(IntArray::of(indices));
    m.setColorBinding(1);  // one colour per triangle
    m.setColors(IntArray::of(colors));
    EXPECT_TRUE(m.init());
    m.setFaceNormals(FloatArray::create(indices.size()));
    EXPECT_TRUE(m.generateFaceNormals());
    m.setReady(1);
    return m;
  };

  std::vector<float> xyz;
  for (int j = 0; j <= kRows; ++j) {
    for (int i = 0; i <= kColumns; ++i) {
      for (float v : vertex(i, j)) xyz.push_back(v);
    }
  }
  std::vector<int32_t> indices, colors;
  std::vector<KELRendModel> pieces;
  for (int j = 0; j < kRows; ++j) {
    for (int i = 0; i < kColumns; ++i) {
      const int32_t a = j * (kColumns + 1) + i, b = a + 1, c = a + kColumns + 2, d = a + kColumns + 1;
      indices.insert(indices.end(), {a, b, c, a, c, d});
      colors.insert(colors.end(), {static_cast<int32_t>(cellColor(i, j, 0)), static_cast<int32_t>(cellColor(i, j, 1))});
      std::vector<float> cell;
      for (auto [p, q] : {std::pair{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}}) {
        for (float v : vertex(p, q)) cell.push_back(v);
      }
      const int32_t cellIndices[] = {0, 1, 2, 0, 2, 3};
      const int32_t cellColors[] = {static_cast<int32_t>(cellColor(i, j, 0)), static_cast<int32_t>(cellColor(i, j, 1))};
      pieces.push_back(makeModel(cell, cellIndices, cellColors));
    }
  }
  const KELRendModel whole = makeModel(xyz, indices, colors);

  Screen& s = openScreen(Format::Rgb32, kW, kH, DEPTH_BUFFER);
  beginFrame(s, kClear, COLOR | DEPTH);
  s.g.doSetOrthographicProjection(16, 12, 1, 100);
  s.g.doRender(whole);
  const std::vector<uint32_t> wholeFrame = s.paint();
  s.g.clear(COLOR | DEPTH);
  for (const KELRendModel& piece : pieces) s.g.doRender(piece);
  s.g.endRendering();
  const std::vector<uint32_t> piecesFrame = s.paint();
  EXPECT_TRUE(framePixelsAre(s, piecesFrame, [&](int c, int r) { return s.at(wholeFrame, c, r); }));
  // The grid covers the image but for a margin of a pixel or two.
  int drawn = 0;
  for (uint32_t p : wholeFrame) drawn += p != kClear;
  EXPECT_GT(drawn, (kW - 4) * (kH - 4));
}

class ClippingScenario : public Scenario {};

// A rectangle far wider than the view, under the default perspective view:
// clipped to the four side planes, whose screen positions lie 0.05 pixel
// inside the image. Every column from 0 up to (not including) the floor of
// width - 0.05 is filled, and likewise every row: all but the last column
// and the last row.
TEST_F(ClippingScenario, SidePlanesBoundTheImage) {
  constexpr int kSide = 32;
  Screen& s = openScreen(Format::Rgb32, kSide, kSide, DEPTH_BUFFER);
  beginFrame(s, kClear, COLOR | DEPTH);
  // Off centre, so that the diagonal between the two triangles crosses no
  // pixel corner exactly (where rounding may give the pixel to neither).
  s.g.doRender(makeQuad(-100, -70, 100, 130, -5, OPAQUE | 0xFFFFFF));
  s.g.endRendering();
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(
      framePixelsAre(s, pixels, [&](int c, int r) { return c < kSide - 1 && r < kSide - 1 ? 0xFFFFFFu : kClear; }));
}

// A floor (y = -1) reaching from depth 0.5, behind the near plane, to depth
// 9: clipped by the near plane and, where it leaves the view below, by the
// bottom plane. Nothing shows above its far edge (the row of y = -1 at depth
// 9); the middle column is white from there down to the last row drawn.
TEST_F(ClippingScenario, NearPlaneCutsAFloor) {
  constexpr int kSide = 32;
  Screen& s = openScreen(Format::Rgb32, kSide, kSide, DEPTH_BUFFER);
  beginFrame(s, kClear, COLOR | DEPTH);
  // Counter-clockwise seen from above (+y), the floor faces up, towards the eye.
  const float xyz[] = {-1, -1, -0.5f, 1, -1, -0.5f, 1, -1, -9, -1, -1, -9};
  const int32_t indices[] = {0, 1, 2, 0, 2, 3};
  const uint32_t colors[] = {OPAQUE | 0xFFFFFF, OPAQUE | 0xFFFFFF, OPAQUE | 0xFFFFFF,
                             OPAQUE | 0xFFFFFF, OPAQUE | 0xFFFFFF, OPAQUE | 0xFFFFFF};
  s.g.doRender(makeTriangles(xyz, indices, colors));
  s.g.endRendering();
  const std::vector<uint32_t> pixels = s.paint();
  const View v = View::defaultPerspective(kSide, kSide);
  const int farRow = v.row(-1, 9);
  int drawnRows = 0;
  for (int r = 0; r < kSide; ++r) {
    int drawn = 0;
    for (int c = 0; c < kSide; ++c) drawn += s.at(pixels, c, r) == 0xFFFFFFu;
    if (r < farRow) {
      EXPECT_EQ(drawn, 0) << "row " << r << " lies above the floor's far edge";
    }
    drawnRows += drawn > 0;
  }
  EXPECT_GT(drawnRows, kSide / 4);
  for (int r = farRow; r < kSide - 1; ++r) EXPECT_EQ(s.at(pixels, kSide / 2, r), 0xFFFFFFu) << "row " << r;
}

// A 640 x 480 view (fov 0.7853982, aspect 4/3, near 1, far 100), the model
// 3.5 in front of the eye, back faces culled, one flat colour. A pixel is
// drawn exactly when its sample point, its lower right corner (c + 1, r + 1),
// lies in a triangle: above its bottom and below its top (top excluded), and
// right of its left edge up to its right edge (left excluded). So a point on
// an edge that two triangles share goes to exactly one of them.
class WatertightScenario : public Scenario {
 protected:
  static constexpr int kW = 640, kH = 480;
  struct Point {
    double x, y;
  };

  // Draws the triangles and checks that the pixels drawn are exactly those
  // the sampling rule covers; gives the frame.
  std::vector<uint32_t> draw(std::span<const float> xyz, std::span<const int32_t> indices) {
    Screen& s = openScreen(Format::Rgb32, kW, kH, DEPTH_BUFFER);
    beginFrame(s, kClear, COLOR | DEPTH);
    s.g.doSetPerspectiveProjection(0.7853982f, 4.0f / 3.0f, 1.0f, 100.0f);
    s.g.enableBackfaceCulling();
    s.g.translateModel(0, 0, -3.5f);
    const std::vector<uint32_t> colors(indices.size(), OPAQUE | 0xFFFFFF);
    s.g.doRender(makeTriangles(xyz, indices, colors));
    s.g.endRendering();
    const std::vector<uint32_t> pixels = s.paint();
    const View v = View::defaultPerspective(kW, kH);
    std::vector<int> covered(kW * kH, 0);
    for (std::size_t k = 0; k < indices.size(); k += 3) {
      Point p[3];
      for (int i = 0; i < 3; ++i) {
        const float* at = &xyz[3 * static_cast<std::size_t>(indices[k + i])];
        p[i] = {v.screenX(at[0], 3.5f - at[2]), v.screenY(at[1], 3.5f - at[2])};
      }
      cover(p, covered);
    }
    EXPECT_TRUE(framePixelsAre(s, pixels, [&](int c, int r) { return covered[r * kW + c] ? 0xFFFFFFu : kClear; }));
    return pixels;
  }
  static int drawnCount(const std::vector<uint32_t>& pixels) {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != kClear; }));
  }

  // Counts, for every pixel, the samples of the triangle by the rule above.
  static void cover(Point p[3], std::vector<int>& covered) {
    std::sort(p, p + 3, [](Point a, Point b) { return a.y < b.y; });
    const auto xAt = [](Point a, Point b, double y) { return a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y); };
    for (int r = 0; r < kH; ++r) {
      const double y = r + 1.0;
      if (!(y > p[0].y && y <= p[2].y)) continue;
      const double a = xAt(p[0], p[2], y), b = y <= p[1].y ? xAt(p[0], p[1], y) : xAt(p[1], p[2], y);
      for (int c = 0; c < kW; ++c) covered[r * kW + c] += c + 1.0 > std::min(a, b) && c + 1.0 <= std::max(a, b);
    }
  }
};

// Two triangles of a tessellated sphere whose shared edge maps to screen x =
// 320 exactly, from y 76.416 to 83.734: column 319 (sample x 320) of rows 76
// to 82 belongs to the left one. The two cover 83 pixels, and no other sample
// lies within 0.013 pixel of their outer edges.
TEST_F(WatertightScenario, SharedEdgeLeavesNoHole) {
  const float xyz[] = {-0.054455407f,    0.831469595f, 0.55289501f,  -1.16536156e-16f, 0.773010433f, 0.634393275f,
                       -1.02056598e-16f, 0.831469595f, 0.555570245f, 0.0621814169f,    0.773010433f, 0.631338537f};
  const int32_t indices[] = {0, 1, 2, 2, 1, 3};
  const std::vector<uint32_t> pixels = draw(xyz, indices);
  EXPECT_EQ(drawnCount(pixels), 83);
  for (int r = 76; r <= 82; ++r) EXPECT_EQ(pixels[r * kW + 319], 0xFFFFFFu) << "row " << r;
}

// (-0.5, 0.5), (-0.5, -0.5), (0.5, 0) at depth 3.5 map to (237.240, 157.244),
// (237.240, 322.756) and (402.760, 240): the middle vertex lies on the whole
// row 240. Sampled a row too high, the lower half covered 164 pixels beyond
// its right edge (about two per row: that edge moves 2 pixels left per row).
// The samples inside number 13,613, none within 0.05 pixel of an edge.
TEST_F(WatertightScenario, VertexOnAWholeRowCoversNothingOutside) {
  const float xyz[] = {-0.5f, 0.5f, 0, -0.5f, -0.5f, 0, 0.5f, 0, 0};
  const int32_t indices[] = {0, 1, 2};
  EXPECT_EQ(drawnCount(draw(xyz, indices)), 13613);
}

class NothingDrawnScenario : public Scenario {};

// A model of no primitives, and a model that is not ready (its arrays null),
// draw nothing and report nothing.
TEST_F(NothingDrawnScenario, EmptyAndUnreadyModels) {
  Screen& s = openScreen(Format::Rgb32, 8, 8, DEPTH_BUFFER);
  beginFrame(s, kClear, COLOR | DEPTH);
  KELRendModel empty = KELRendModel::create();
  empty.setVertices(FloatArray::create(0));
  empty.setVertexIndices(IntArray::create(0));
  ASSERT_TRUE(empty.init());
  empty.setFaceNormals(FloatArray::create(0));
  EXPECT_TRUE(empty.generateFaceNormals());
  empty.setReady(1);
  s.g.doRender(empty);
  KELRendModel unready = KELRendModel::create();
  s.g.doRender(unready);
  s.g.endRendering();
  const std::vector<uint32_t> pixels = s.paint();
  EXPECT_TRUE(framePixelsAre(s, pixels, [](int, int) { return kClear; }));
}

}  // namespace
}  // namespace e2e
