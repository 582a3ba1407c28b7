// Picking on a rendered model, the life of contexts (created and disposed in
// a loop, painted into windows and toolkit surfaces, buffers copied between
// them), and the fatal ends a program meets when it breaks the rules.
#include <cmath>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr uint32_t kClear = 0x203040;

// ---------------------------------------------------------------------------
// Picking: the default perspective view of a 32 x 32 image, a white square
// x, y in -1..1 at depth 5 with texture coordinates (x + 1) / 2, (y + 1) / 2.

class PickScenario : public Scenario {};

constexpr int kSide = 32;

// The direction from the eye through the centre of pixel (c, r), with z = -1.
Vector3 directionThroughPixel(int c, int r) {
  const View v = View::defaultPerspective(kSide, kSide);
  const float scaleX = ((kSide - 0.1f) / v.xLimit) / 2.0f, scaleY = ((kSide - 0.1f) / v.yLimit) / 2.0f;
  return Vector3::create((c + 0.5f - kSide / 2.0f) / scaleX, -(r + 0.5f - kSide / 2.0f) / scaleY, -1.0f);
}

TEST_F(PickScenario, RayThroughAPixel) {
  Screen& s = openScreen(Format::Rgb32, kSide, kSide, DEPTH_BUFFER);
  beginFrame(s, kClear, COLOR | DEPTH);
  const KELRendModel square = makeQuad(-1, -1, 1, 1, -5, OPAQUE | 0xFFFFFF, true);
  s.g.doRender(square);
  s.g.endRendering();
  constexpr int kC = 12, kR = 10;
  EXPECT_EQ(s.at(s.paint(), kC, kR), 0xFFFFFFu) << "the pixel shows the square";

  // The ray from the eye through that pixel meets the square at depth 5: the
  // ray parameter is 5, since the direction has z = -1.
  const Vector3 d = directionThroughPixel(kC, kR);
  PickResult hit = PickResult::create(PickResult::WANT_POINT | PickResult::WANT_NORMAL | PickResult::WANT_UV, 100.0f);
  ASSERT_TRUE(s.g.doRayPick(square, Ray::create(Vector3::create(0, 0, 0), d), hit));
  EXPECT_EQ(kelhost::lastStubResult().advanced, 1);
  EXPECT_FLOAT_EQ(hit.distance(), 5.0f);
  EXPECT_NEAR(hit.point().x(), 5 * d.x(), 1e-5f);
  EXPECT_NEAR(hit.point().y(), 5 * d.y(), 1e-5f);
  EXPECT_NEAR(hit.point().z(), -5.0f, 1e-5f);
  EXPECT_EQ(hit.normal().x(), 0.0f);
  EXPECT_EQ(hit.normal().z(), 1.0f);
  EXPECT_NEAR(hit.uv().u(), (5 * d.x() + 1) / 2, 1e-5f);
  EXPECT_NEAR(hit.uv().v(), (5 * d.y() + 1) / 2, 1e-5f);

  // Only what is asked for is written.
  PickResult bare = PickResult::create(0, 100.0f);
  ASSERT_TRUE(s.g.doRayPick(square, Ray::create(Vector3::create(0, 0, 0), d), bare));
  EXPECT_FLOAT_EQ(bare.distance(), 5.0f);
  EXPECT_EQ(bare.point().z(), 0.0f);
  EXPECT_EQ(bare.normal().z(), 0.0f);

  // From behind, the ray meets the back side: no hit, the result untouched.
  PickResult behind = PickResult::create(PickResult::WANT_POINT, 100.0f);
  EXPECT_FALSE(s.g.doRayPick(square, Ray::create(Vector3::create(0, 0, -10), Vector3::create(0, 0, 1)), behind));
  EXPECT_EQ(behind.distance(), 100.0f);
  EXPECT_EQ(behind.point().z(), 0.0f);
  // Nor is a hit farther than the distance searched reported.
  PickResult shortSearch = PickResult::create(PickResult::WANT_POINT, 4.0f);
  EXPECT_FALSE(s.g.doRayPick(square, Ray::create(Vector3::create(0, 0, 0), d), shortSearch));
  EXPECT_EQ(shortSearch.distance(), 4.0f);
  // A model that is not ready is never hit.
  square.setReady(0);
  EXPECT_FALSE(s.g.doRayPick(square, Ray::create(Vector3::create(0, 0, 0), d), hit));
  square.setReady(1);

  // Two squares on the ray: the nearer (depth 3) is reported.
  const float xyz[] = {-1, -1, -5, 1, -1, -5, 1, 1, -5, -1, 1, -5, -1, -1, -3, 1, -1, -3, 1, 1, -3, -1, 1, -3};
  const int32_t indices[] = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
  const KELRendModel both = makeTriangles(xyz, indices, {});
  PickResult nearest = PickResult::create(PickResult::WANT_POINT, 100.0f);
  ASSERT_TRUE(s.g.doRayPick(both, Ray::create(Vector3::create(0, 0, 0), d), nearest));
  EXPECT_FLOAT_EQ(nearest.distance(), 3.0f);
  EXPECT_NEAR(nearest.point().z(), -3.0f, 1e-5f);

  // Moved by the model matrix, the square is picked with the ray carried into
  // model space by the inverse of that matrix, as a program does.
  constexpr int kMovedC = 18, kMovedR = 15;
  s.g.beginRendering();
  s.g.clear(COLOR | DEPTH);
  s.g.translateModel(0.5f, 0.25f, -1.0f);
  s.g.doRender(square);
  s.g.endRendering();
  EXPECT_EQ(s.at(s.paint(), kMovedC, kMovedR), 0xFFFFFFu);
  Matrix4 inverse = Matrix4::create();
  s.g.doGetModelMatrix(inverse);
  ASSERT_TRUE(inverse.doInvert());
  const Vector3 m = directionThroughPixel(kMovedC, kMovedR);
  Vector3 origin = Vector3::create(0, 0, 0), direction = directionThroughPixel(kMovedC, kMovedR);
  Geom::doTransformPoint(inverse, origin, origin);
  Geom::doTransformVector(inverse, direction, direction);
  PickResult moved = PickResult::create(PickResult::WANT_POINT, 100.0f);
  ASSERT_TRUE(s.g.doRayPick(square, Ray::create(origin, direction), moved));
  EXPECT_FLOAT_EQ(moved.distance(), 6.0f);
  EXPECT_NEAR(moved.point().x(), 6 * m.x() - 0.5f, 1e-5f);
  EXPECT_NEAR(moved.point().y(), 6 * m.y() - 0.25f, 1e-5f);
  EXPECT_NEAR(moved.point().z(), -5.0f, 1e-5f);
}

// ---------------------------------------------------------------------------
// Lifecycle.

class LifecycleScenario : public Scenario {};

// Renders a white rectangle x -3..3, y -2..2 under the orthographic view.
void drawWhiteRectangle(const Screen& s) {
  beginFrame(s, kClear, COLOR | DEPTH);
  s.g.doSetOrthographicProjection(static_cast<float>(s.width) / 2, static_cast<float>(s.height) / 2, 1.0f, 100.0f);
  s.g.doRender(makeQuad(-3, -2, 3, 2, -5, OPAQUE | 0xFFFFFF));
  s.g.endRendering();
}

::testing::AssertionResult showsWhiteRectangle(const Screen& s, const std::vector<uint32_t>& pixels) {
  const PixelRect rect = quadPixels(View::ortho(s.width, s.height), -3, -2, 3, 2, 5);
  return framePixelsAre(s, pixels, [&](int c, int r) {
    return rect.contains(c, r) ? shownFlat(s.format, 0xFFFFFF) : shownFlat(s.format, kClear);
  });
}

TEST_F(LifecycleScenario, InitDisposeLoop) {
  const Format formats[] = {Format::Rgb32, Format::Rgb24, Format::Rgb16, Format::Rgb555, Format::Indexed8};
  const int32_t flags[] = {NO_BUFFERS, DEPTH_BUFFER, ACCUM_BUFFER, DEPTH_BUFFER | ACCUM_BUFFER};
  for (int i = 0; i < 40; ++i) {
    Screen& s = openScreen(formats[i % 5], 16 + i % 3, 12, flags[i % 4]);
    drawWhiteRectangle(s);
    EXPECT_TRUE(showsWhiteRectangle(s, s.paint())) << "round " << i;
    closeScreen(s);
  }
  // A context that cannot be made: init gives false and leaves no context;
  // disposing it then does nothing.
  KELRendGraphics3D g = KELRendGraphics3D::create(makeDevice(Format::Rgb32));
  EXPECT_FALSE(g.init(DEPTH_BUFFER, 0, 12));
  EXPECT_EQ(kelhost::lastStubResult().advanced, 1);
  EXPECT_EQ(g.context(), 0);
  g.dispose();
}

// doPaint copies the whole image to (x, y): into the context's window when
// it names one, else into the device context of the toolkit graphics object.
TEST_F(LifecycleScenario, PaintIntoWindowAndToolkitSurface) {
  Screen& s = openScreen(Format::Rgb16, 16, 12, DEPTH_BUFFER);
  drawWhiteRectangle(s);
  const std::vector<uint32_t> image = s.paint();
  EXPECT_TRUE(showsWhiteRectangle(s, image));

  constexpr uint32_t kSentinel = 0x777777;
  const HWND big = displayCreateWindow(40, 30);
  displayFillWindow(big, kSentinel);
  s.g.setWindow(big);
  s.g.doPaint(kelhost::Graphics::create(0), 3, 2);
  const HDC surface = displayCreateSurface(40, 30);
  displayFillSurface(surface, kSentinel);
  s.g.setWindow(0);
  s.g.doPaint(kelhost::Graphics::create(surface), 21, 17);

  auto placedAt = [&](const std::vector<uint32_t>& target, int x, int y) {
    int wrong = 0;
    for (int r = 0; r < 30; ++r) {
      for (int c = 0; c < 40; ++c) {
        const bool inside = c >= x && c < x + 16 && r >= y && r < y + 12;
        const uint32_t want = inside ? image[static_cast<std::size_t>((r - y) * 16 + (c - x))] : kSentinel;
        wrong += target[static_cast<std::size_t>(r * 40 + c)] != want;
      }
    }
    return wrong;
  };
  EXPECT_EQ(placedAt(displayWindowPixels(big), 3, 2), 0);
  EXPECT_EQ(placedAt(displaySurfacePixels(surface), 21, 17), 0);
}

// doCopyBuffers copies colour and depth from a context of the same size; a
// context of another pixel format gets the depth but not the colour. The
// depth copied is seen when a red rectangle farther away (depth 9) is drawn
// over the white one (depth 5) of the source: it stays hidden behind it.
TEST_F(LifecycleScenario, CopyBuffersBetweenContexts) {
  constexpr int kW = 16, kH = 12;
  const View view = View::defaultPerspective(kW, kH);
  const PixelRect white = quadPixels(view, -1, -0.6f, 1, 0.6f, 5), red = quadPixels(view, -3, -2.2f, 3, 2.2f, 9);
  ASSERT_LT(red.column0, white.column0);
  ASSERT_LT(red.row0, white.row0);
  auto drawRed = [](const Screen& s) {
    s.g.beginRendering();
    useColorsAsEmission(s.g);
    s.g.doRender(makeQuad(-3, -2.2f, 3, 2.2f, -9, OPAQUE | 0xFF0000));
    s.g.endRendering();
  };

  Screen& a = openScreen(Format::Rgb32, kW, kH, DEPTH_BUFFER | ACCUM_BUFFER);
  beginFrame(a, kClear, COLOR | DEPTH);
  a.g.doRender(makeQuad(-1, -0.6f, 1, 0.6f, -5, OPAQUE | 0xFFFFFF));
  a.g.endRendering();
  const std::vector<uint32_t> image = a.paint();
  ASSERT_TRUE(framePixelsAre(a, image, [&](int c, int r) { return white.contains(c, r) ? 0xFFFFFFu : kClear; }));

  Screen& b = openScreen(Format::Rgb32, kW, kH, DEPTH_BUFFER | ACCUM_BUFFER);
  b.g.doSetClearColor(0x00FF00);
  b.g.clear(COLOR | DEPTH | ACCUM);
  b.g.doCopyBuffers(a.g, COLOR | DEPTH | ACCUM);
  EXPECT_EQ(b.paint(), image);
  drawRed(b);
  std::vector<uint32_t> pixels = b.paint();
  EXPECT_TRUE(framePixelsAre(b, pixels, [&](int c, int r) {
    return white.contains(c, r) ? 0xFFFFFFu : red.contains(c, r) ? 0xFF0000u : kClear;
  }));

  // A 5-5-5 context of the same size: the depth is copied, the colour is not.
  Screen& c = openScreen(Format::Rgb555, kW, kH, DEPTH_BUFFER);
  c.g.doSetClearColor(0x00FF00);
  c.g.clear(COLOR | DEPTH);
  c.g.doCopyBuffers(a.g, COLOR | DEPTH);
  drawRed(c);
  pixels = c.paint();
  EXPECT_TRUE(framePixelsAre(c, pixels, [&](int col, int r) {
    const uint32_t rgb = white.contains(col, r) ? 0x00FF00u : red.contains(col, r) ? 0xFF0000u : 0x00FF00u;
    return shownFlat(Format::Rgb555, rgb);
  }));
}

// ---------------------------------------------------------------------------
// Fatal ends: the process stops with status -1 (255).

class FatalScenario : public Scenario {};

TEST_F(FatalScenario, CopyingBetweenContextsOfDifferentSizes) {
  Screen& a = openScreen(Format::Rgb32, 20, 20, DEPTH_BUFFER);
  Screen& b = openScreen(Format::Rgb32, 20, 10, DEPTH_BUFFER);
  EXPECT_EXIT(b.g.doCopyBuffers(a.g, COLOR), ::testing::ExitedWithCode(255), "");
}

TEST_F(FatalScenario, PickingALineModel) {
  Screen& s = openScreen(Format::Rgb32, 8, 8, NO_BUFFERS);
  const float xyz[] = {0, 0, -5, 1, 0, -5};
  const uint32_t colors[] = {OPAQUE, OPAQUE};
  const KELRendModel lines = makeLines(xyz, colors);
  PickResult result = PickResult::create(PickResult::WANT_POINT, 100.0f);
  EXPECT_EXIT(s.g.doRayPick(lines, Ray::create(Vector3::create(0, 0, 0), Vector3::create(0, 0, -1)), result),
              ::testing::ExitedWithCode(255), "");
}

TEST_F(FatalScenario, UnknownModesAndFeatures) {
  Screen& s = openScreen(Format::Rgb32, 8, 8, NO_BUFFERS);
  EXPECT_EXIT(s.g.setModelRenderMode(3), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(s.g.enableFeature(-1), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(s.g.setTextureFilter(6), ::testing::ExitedWithCode(255), "");
}

TEST_F(FatalScenario, DisposingATextureTwice) {
  Screen& s = openScreen(Format::Rgb32, 8, 8, NO_BUFFERS);
  KELRendTexture t = KELRendTexture::create(s.device);
  t.init(4, 4);
  t.dispose();
  EXPECT_EXIT(t.dispose(), ::testing::ExitedWithCode(255), "");
}

}  // namespace
}  // namespace e2e
