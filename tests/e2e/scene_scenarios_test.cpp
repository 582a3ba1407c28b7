// Frames that exercise the context's state: depth testing under the default
// perspective view, lights on a flat rectangle, shading, back faces,
// blending, fog and the model matrix stack. Every expected pixel is derived
// from the view mapping and the colour arithmetic by hand.
#include <cmath>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr uint32_t kClear = 0x203040;

// ---------------------------------------------------------------------------
// Depth: two rectangles facing the eye under the default perspective view,
// the near one (depth 4) partly in front of the far one (depth 8).

constexpr int kSide = 32;
constexpr uint32_t kNear = 0xE01010, kFar = 0x10E010;
constexpr float kNearDepth = 4, kFarDepth = 8;
constexpr float kNearBox[4] = {-1.0f, -0.9f, 0.6f, 0.7f};  // x0, y0, x1, y1
constexpr float kFarBox[4] = {-0.7f, -2.2f, 2.6f, 1.1f};

class DepthScenario : public Scenario, public ::testing::WithParamInterface<Format> {
 protected:
  Screen& begin(float clearDepth = 1000000.0f) {
    Screen& s = openScreen(GetParam(), kSide, kSide, DEPTH_BUFFER);
    s.g.beginRendering();
    s.g.doSetPerspectiveProjection(0.7853982f, 1.0f, 1.0f, 1000.0f);  // the default, said out loud
    s.g.doSetClearColor(static_cast<int32_t>(kClear));
    s.g.setClearDepth(clearDepth);
    s.g.clear(COLOR | DEPTH);
    useColorsAsEmission(s.g);
    return s;
  }
  void drawNear(Screen& s) {
    s.g.doRender(makeQuad(kNearBox[0], kNearBox[1], kNearBox[2], kNearBox[3], -kNearDepth, OPAQUE | kNear));
  }
  void drawFar(Screen& s) {
    s.g.doRender(makeQuad(kFarBox[0], kFarBox[1], kFarBox[2], kFarBox[3], -kFarDepth, OPAQUE | kFar));
  }
  PixelRect nearRect() const {
    return quadPixels(View::defaultPerspective(kSide, kSide), kNearBox[0], kNearBox[1], kNearBox[2], kNearBox[3],
                      kNearDepth);
  }
  PixelRect farRect() const {
    return quadPixels(View::defaultPerspective(kSide, kSide), kFarBox[0], kFarBox[1], kFarBox[2], kFarBox[3],
                      kFarDepth);
  }
  // Checks the frame: where both rectangles cover a pixel, the near one shows
  // when nearOnTop, else the far one; the far one is absent unless farDrawn.
  ::testing::AssertionResult frameIs(const Screen& s, bool nearOnTop, bool farDrawn = true) {
    const PixelRect n = nearRect(), f = farRect();
    const std::vector<uint32_t> pixels = s.paint();
    return framePixelsAre(s, pixels, [&](int c, int r) {
      const bool inNear = n.contains(c, r), inFar = farDrawn && f.contains(c, r);
      if (inNear && (nearOnTop || !inFar)) return shownTriangle(s.format, kNear, r, c);
      if (inFar) return shownTriangle(s.format, kFar, r, c);
      return shownFlat(s.format, kClear);
    });
  }
};

TEST_P(DepthScenario, NearerWinsInEitherOrder) {
  // The two rectangles overlap, and each also covers pixels of its own.
  const PixelRect n = nearRect(), f = farRect();
  ASSERT_LT(n.column0, f.column0);
  ASSERT_GT(f.column1, n.column1);
  ASSERT_LT(f.row0, n.row1);

  Screen& s = begin();
  drawNear(s);
  drawFar(s);
  s.g.endRendering();
  EXPECT_TRUE(frameIs(s, true)) << "near first";

  s.g.beginRendering();
  s.g.clear(COLOR | DEPTH);
  drawFar(s);
  drawNear(s);
  s.g.endRendering();
  EXPECT_TRUE(frameIs(s, true)) << "far first";
}

// Without depth test or depth writes, the rectangle drawn last covers the
// overlap; test without write, or write without test, behave the same here.
TEST_P(DepthScenario, MaskOffLetsDrawOrderDecide) {
  Screen& s = begin();
  for (int32_t mask : {0, 1, 2}) {
    s.g.setDepthBufferMask(mask);
    s.g.clear(COLOR | DEPTH);
    drawNear(s);
    drawFar(s);
    EXPECT_TRUE(frameIs(s, false)) << "mask " << mask;
  }
  s.g.setDepthBufferMask(3);
  s.g.clear(COLOR | DEPTH);
  drawNear(s);
  drawFar(s);
  s.g.endRendering();
  EXPECT_TRUE(frameIs(s, true)) << "mask 3";
}

// A depth clear at distance 6 lies between the two: the far rectangle fails
// the test everywhere, the near one passes.
TEST_P(DepthScenario, ClearDepthHidesFartherGeometry) {
  Screen& s = begin(6.0f);
  drawFar(s);
  drawNear(s);
  s.g.endRendering();
  EXPECT_TRUE(frameIs(s, true, false));
}

// A new depth buffer holds the farthest depth: the first frame, drawn with
// no depth clear, is depth-tested as after one.
TEST_P(DepthScenario, NewDepthBufferNeedsNoClear) {
  Screen& s = openScreen(GetParam(), kSide, kSide, DEPTH_BUFFER);
  s.g.beginRendering();
  s.g.doSetClearColor(static_cast<int32_t>(kClear));
  s.g.clear(COLOR);
  useColorsAsEmission(s.g);
  drawFar(s);
  drawNear(s);
  s.g.endRendering();
  EXPECT_TRUE(frameIs(s, true));
}

INSTANTIATE_TEST_SUITE_P(Formats, DepthScenario,
                         ::testing::Values(Format::Rgb32, Format::Rgb16, Format::Indexed8Dithered),
                         [](const ::testing::TestParamInfo<Format>& info) { return formatName(info.param); });

// ---------------------------------------------------------------------------
// Lighting, shading and back faces, on an Rgb32 screen under the orthographic
// view: the rectangle x -8..8, y -6..6 at depth 5 faces +z.

constexpr int kWidth = 32, kHeight = 24;

class LightingScenario : public Scenario {
 protected:
  Screen& begin() {
    Screen& s = openScreen(Format::Rgb32, kWidth, kHeight, NO_BUFFERS);
    s.g.beginRendering();
    s.g.doSetOrthographicProjection(kWidth / 2.0f, kHeight / 2.0f, 1.0f, 100.0f);
    s.g.doSetClearColor(static_cast<int32_t>(kClear));
    return s;
  }
  // The rectangle without colours of its own: the material alone colours it.
  static KELRendModel plainQuad(bool back = false) {
    const float xyz[] = {-8, -6, -5, 8, -6, -5, 8, 6, -5, -8, 6, -5};
    const int32_t front[] = {0, 1, 2, 0, 2, 3}, away[] = {0, 2, 1, 0, 3, 2};
    return makeTriangles(xyz, back ? away : front, {});
  }
  // Draws the model into a cleared frame and checks: the rectangle in `rgb`
  // (or not drawn at all when rgb is ~0), the clear colour elsewhere.
  ::testing::AssertionResult drawsAs(Screen& s, KELRendModel model, uint32_t rgb) {
    s.g.clear(COLOR);
    s.g.doRender(model);
    const PixelRect rect = quadPixels(View::ortho(kWidth, kHeight), -8, -6, 8, 6, 5);
    const std::vector<uint32_t> pixels = s.paint();
    return framePixelsAre(s, pixels, [&](int c, int r) { return rect.contains(c, r) && rgb != ~0u ? rgb : kClear; });
  }
};

TEST_F(LightingScenario, LightsOnAFlatRectangle) {
  Screen& s = begin();
  // Emission black, ambient 0x80 grey, diffuse (128, 64, 32), no specular.
  s.g.setMaterial(Material::create(0x000000, 0x808080, 0x804020, 0x000000, 0.0f, 255));
  s.g.setShadeMode(0);  // one evaluation per triangle, at its first corner (v0 for both)
  const KELRendModel quad = plainQuad();
  EXPECT_TRUE(drawsAs(s, quad, 0x000000)) << "no lights: the emission";

  // A white directional light travelling away from the eye (-z) meets the
  // +z normal head on: diffuse factor 1. Its ambient 0x20 adds
  // (0x20 * 0x80 + 128) / 255 = 16 per channel.
  Light sun = Light::create();
  sun.setColor(0xFFFFFF);
  sun.setAmbient(0x202020);
  sun.setPosition(Vector3::create(0, 0, -1));
  s.g.pushDirectionalLight(sun);
  ASSERT_EQ(product(0x20, 0x80), 16u);
  EXPECT_TRUE(drawsAs(s, quad, 0x905030)) << "directional: 16 + (128, 64, 32)";
  s.g.popLight();
  EXPECT_TRUE(drawsAs(s, quad, 0x000000)) << "popped: its ambient share is gone too";

  // A point light 4 above v0 (-8, -6, -5): the direction to it is the normal,
  // and with constant attenuation 2 the factor is 1/2: trunc(128/2) and so on.
  Light lamp = Light::create();
  lamp.setColor(0xFFFFFF);
  lamp.setPosition(Vector3::create(-8, -6, -1));
  lamp.setAttenuation(0.0f, 0.0f, 2.0f);
  lamp.setRange(10);
  s.g.pushPointLight(lamp);
  EXPECT_TRUE(drawsAs(s, quad, 0x402010)) << "point light, attenuation 2";
  s.g.popLight();
  lamp.setRange(3);  // v0 now lies beyond its range: no light at all
  s.g.pushPointLight(lamp);
  EXPECT_TRUE(drawsAs(s, quad, 0x000000)) << "point light out of range";
  s.g.popLight();

  // A spot light above v0 shining down its axis: inside the inner cone, full light.
  Light spot = Light::create();
  spot.setColor(0xFFFFFF);
  spot.setPosition(Vector3::create(-8, -6, -1));
  spot.setDirection(Vector3::create(0, 0, -1));
  spot.setAttenuation(0.0f, 0.0f, 1.0f);
  spot.setRange(10);
  spot.setCone(0.5f, 0.9f);
  s.g.pushSpotLight(spot);
  EXPECT_TRUE(drawsAs(s, quad, 0x804020)) << "spot light on its axis";
  s.g.popLight();
  spot.setDirection(Vector3::create(0, 0, 1));  // turned away: outside the cone
  s.g.pushSpotLight(spot);
  EXPECT_TRUE(drawsAs(s, quad, 0x000000)) << "spot light turned away";

  // resetLights drops every light and the summed ambient light.
  s.g.pushDirectionalLight(sun);
  s.g.resetLights();
  s.g.endRendering();
  EXPECT_TRUE(drawsAs(s, quad, 0x000000)) << "after resetLights";
}

// Flat shading lights each triangle at its first corner: both triangles start
// at v0, so the whole rectangle takes v0's colour. Smooth shading blends.
TEST_F(LightingScenario, FlatShadingUsesTheFirstCorner) {
  Screen& s = begin();
  useColorsAsEmission(s.g);
  const uint32_t corners[4] = {OPAQUE | 0xFF0000, OPAQUE | 0x00FF00, OPAQUE | 0x0000FF, OPAQUE | 0xFFFFFF};
  const KELRendModel quad = makeQuadColored(-8, -6, 8, 6, -5, corners);
  s.g.setShadeMode(0);
  EXPECT_TRUE(drawsAs(s, quad, 0xFF0000)) << "flat (0)";
  s.g.setShadeMode(2);
  EXPECT_TRUE(drawsAs(s, quad, 0xFF0000)) << "flat (2)";

  s.g.setShadeMode(1);
  s.g.clear(COLOR);
  s.g.doRender(quad);
  s.g.endRendering();
  const std::vector<uint32_t> pixels = s.paint();
  const PixelRect rect = quadPixels(View::ortho(kWidth, kHeight), -8, -6, 8, 6, 5);
  // Near each corner its own colour dominates: bottom left red, bottom right
  // green, top right blue.
  auto dominant = [&](int c, int r) {
    const uint32_t p = s.at(pixels, c, r), red = p >> 16 & 0xFF, green = p >> 8 & 0xFF, blue = p & 0xFF;
    return red > green && red > blue     ? 0xFF0000u
           : green > red && green > blue ? 0x00FF00u
           : blue > red && blue > green  ? 0x0000FFu
                                         : 0u;
  };
  EXPECT_EQ(dominant(rect.column0 + 1, rect.row1 - 2), 0xFF0000u);
  EXPECT_EQ(dominant(rect.column1 - 2, rect.row1 - 2), 0x00FF00u);
  EXPECT_EQ(dominant(rect.column1 - 2, rect.row0 + 1), 0x0000FFu);
}

// A rectangle turned away from the eye: culled by default; drawn when culling
// is off, dark (its normal faces away from a light travelling away from the
// eye) unless two-sided lighting turns the normal round.
TEST_F(LightingScenario, BackFaces) {
  Screen& s = begin();
  s.g.setMaterial(Material::create(0x000000, 0x000000, 0x808080, 0x000000, 0.0f, 255));
  Light sun = Light::create();
  sun.setColor(0xFFFFFF);
  sun.setPosition(Vector3::create(0, 0, -1));
  s.g.pushDirectionalLight(sun);
  const KELRendModel back = plainQuad(true);
  EXPECT_TRUE(drawsAs(s, back, ~0u)) << "culled by default";
  s.g.disableBackfaceCulling();
  EXPECT_TRUE(drawsAs(s, back, 0x000000)) << "drawn, lit from behind";
  s.g.enableTwoSidedLighting();
  EXPECT_TRUE(drawsAs(s, back, 0x808080)) << "two-sided: lit as if facing the eye";
  s.g.disableTwoSidedLighting();
  EXPECT_TRUE(drawsAs(s, back, 0x000000)) << "one-sided again";
  s.g.enableBackfaceCulling();
  EXPECT_TRUE(drawsAs(s, back, ~0u)) << "culled again";
  EXPECT_TRUE(drawsAs(s, plainQuad(false), 0x808080)) << "the front face is lit";
}

// ---------------------------------------------------------------------------
// Blending: a rectangle of alpha 0 leaves the frame as it was while blending
// is on (P[0][c] + P[255][dst] = dst), and is drawn opaque when it is off.

class FeatureScenario : public Scenario, public ::testing::WithParamInterface<Format> {};

TEST_P(FeatureScenario, BlendingSwitch) {
  Screen& s = openScreen(GetParam(), kWidth, kHeight, NO_BUFFERS);
  beginFrame(s, kClear, COLOR);
  s.g.doSetOrthographicProjection(kWidth / 2.0f, kHeight / 2.0f, 1.0f, 100.0f);
  const KELRendModel glass = makeQuad(-8, -6, 8, 6, -5, 0x00C86432);
  const PixelRect rect = quadPixels(View::ortho(kWidth, kHeight), -8, -6, 8, 6, 5);
  auto frame = [&](bool drawn) {
    s.g.clear(COLOR);
    s.g.doRender(glass);
    const std::vector<uint32_t> pixels = s.paint();
    return framePixelsAre(s, pixels, [&](int c, int r) {
      return drawn && rect.contains(c, r) ? shownFlat(s.format, 0xC86432) : shownFlat(s.format, kClear);
    });
  };
  EXPECT_TRUE(frame(false)) << "blending on by default: invisible";
  s.g.disableFeature(0);
  EXPECT_TRUE(frame(true)) << "blending off: opaque";
  s.g.enableFeature(0);
  EXPECT_TRUE(frame(false)) << "blending on again";
  // Features that only store their switch change nothing visible.
  for (int32_t feature : {2, 3, 5}) {
    s.g.enableFeature(feature);
    EXPECT_TRUE(frame(false)) << "feature " << feature;
    s.g.disableFeature(feature);
  }
  s.g.endRendering();
}

INSTANTIATE_TEST_SUITE_P(Formats, FeatureScenario,
                         ::testing::Values(Format::Rgb32, Format::Rgb24, Format::Rgb16, Format::Rgb555),
                         [](const ::testing::TestParamInfo<Format>& info) { return formatName(info.param); });

// ---------------------------------------------------------------------------
// Fog on points and lines, which carry one fog amount per vertex, so their
// colours are exact: channel = P[c][255 - f] + P[fog][f]. Linear fog from 10
// to 265 steps the amount by one per unit of depth.

class FogScenario : public Scenario {};

uint32_t fogged(uint32_t rgb, uint32_t fog, uint32_t amount) {
  uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const uint32_t c = (rgb >> shift) & 0xFF, f = (fog >> shift) & 0xFF;
    out |= (product(c, 255 - amount) + product(f, amount)) << shift;
  }
  return out;
}

TEST_F(FogScenario, FogOnPointsAndLines) {
  constexpr uint32_t kColor = 0xC86432, kFog = 0x0000FF;
  // (200, 100, 50) fogged by 100 towards blue: 122, 61, 30 + 100.
  ASSERT_EQ(fogged(kColor, kFog, 100), 0x7A3D82u);
  Screen& s = openScreen(Format::Rgb32, kWidth, kHeight, NO_BUFFERS);
  beginFrame(s, kClear, COLOR);
  s.g.doSetOrthographicProjection(kWidth / 2.0f, kHeight / 2.0f, 1.0f, 1000.0f);
  s.g.doSetFog(1, static_cast<int32_t>(kFog), 10.0f, 265.0f, 0.0f);

  // Points at depths 5 (before the fog starts), 110.5 (amount 100) and 300
  // (past its end: the fog colour); a line at depth 60.25 (amount 50).
  const float points[] = {-6.3f, 4.4f, -5, 0.4f, 4.4f, -110.5f, 6.3f, 4.4f, -300};
  const uint32_t pointColors[] = {OPAQUE | kColor, OPAQUE | kColor, OPAQUE | kColor};
  const float line[] = {-8, -4.4f, -60.25f, 8, -4.4f, -60.25f};
  const uint32_t lineColors[] = {OPAQUE | kColor, OPAQUE | kColor};
  auto draw = [&] {
    s.g.clear(COLOR);
    s.g.doRender(makePoints(points, pointColors));
    s.g.doRender(makeLines(line, lineColors));
  };
  const View v = View::ortho(kWidth, kHeight);
  auto expectFrame = [&](uint32_t a5, uint32_t a110, uint32_t a300, uint32_t a60) {
    const std::vector<uint32_t> pixels = s.paint();
    const int lineRow = v.row(-4.4f, 1), pointRow = v.row(4.4f, 1);
    const int lineStart = v.column(-8, 1), lineEnd = v.column(8, 1);
    return framePixelsAre(s, pixels, [&](int c, int r) {
      if (r == pointRow && c == v.column(-6.3f, 1)) return a5;
      if (r == pointRow && c == v.column(0.4f, 1)) return a110;
      if (r == pointRow && c == v.column(6.3f, 1)) return a300;
      if (r == lineRow && c >= lineStart && c < lineEnd) return a60;
      return kClear;
    });
  };
  draw();
  EXPECT_TRUE(expectFrame(kColor, fogged(kColor, kFog, 100), kFog, fogged(kColor, kFog, 50)));

  // Exponential fogs of density 0.01: amount trunc(255 (1 - e^-(0.01 z))),
  // squared: trunc(255 (1 - e^-((0.01 z)^2))).
  const uint32_t exponential[4] = {12, 170, 242, 115}, squared[4] = {0, 179, 254, 77};
  for (int mode : {2, 3}) {
    const uint32_t* amount = mode == 2 ? exponential : squared;
    int i = 0;
    for (float z : {5.0f, 110.5f, 300.0f, 60.25f}) {
      const double d = mode == 2 ? 0.01 * z : (0.01 * z) * (0.01 * z);
      ASSERT_EQ(static_cast<uint32_t>(255 * (1 - std::exp(-d))), amount[i++]) << "mode " << mode << " at " << z;
    }
    s.g.doSetFog(mode, static_cast<int32_t>(kFog), 0.0f, 0.0f, 0.01f);
    draw();
    EXPECT_TRUE(expectFrame(fogged(kColor, kFog, amount[0]), fogged(kColor, kFog, amount[1]),
                            fogged(kColor, kFog, amount[2]), fogged(kColor, kFog, amount[3])))
        << "mode " << mode;
  }

  s.g.doSetFog(0, 0, 0.0f, 0.0f, 0.0f);  // fog off
  draw();
  s.g.endRendering();
  EXPECT_TRUE(expectFrame(kColor, kColor, kColor, kColor));
}

// ---------------------------------------------------------------------------
// The model matrix stack moves, scales and turns the rectangle; each change is
// seen both in doGetModelMatrix and in the pixels it fills.

class ModelMatrixScenario : public Scenario {};

TEST_F(ModelMatrixScenario, StackMovesTheRectangle) {
  Screen& s = openScreen(Format::Rgb32, kWidth, kHeight, NO_BUFFERS);
  beginFrame(s, kClear, COLOR);
  s.g.doSetOrthographicProjection(kWidth / 2.0f, kHeight / 2.0f, 1.0f, 100.0f);
  // A 6 x 4 rectangle centred on the axis at depth 5.
  const KELRendModel quad = makeQuad(-3, -2, 3, 2, -5, OPAQUE | 0xFFFFFF);
  const View v = View::ortho(kWidth, kHeight);
  // The rectangle is expected to cover x0..x1 by y0..y1 (depth 5) after the
  // current model matrix.
  auto covers = [&](float x0, float y0, float x1, float y1) {
    s.g.clear(COLOR);
    s.g.doRender(quad);
    const PixelRect rect = quadPixels(v, x0, y0, x1, y1, 5);
    const std::vector<uint32_t> pixels = s.paint();
    return framePixelsAre(s, pixels, [&](int c, int r) { return rect.contains(c, r) ? 0xFFFFFFu : kClear; });
  };
  const Matrix4 top = Matrix4::create();
  auto topElement = [&](int i) {
    s.g.doGetModelMatrix(top);
    return top.element(i);
  };

  EXPECT_TRUE(covers(-3, -2, 3, 2)) << "identity";
  s.g.translateModel(4.3f, 1.4f, 0);
  EXPECT_EQ(topElement(12), 4.3f);
  EXPECT_EQ(top.element(13), 1.4f);
  EXPECT_TRUE(covers(1.3f, -0.6f, 7.3f, 3.4f)) << "translated";
  s.g.doScaleModel(1.5f, 1.5f, 1.5f);  // scales before the translation
  EXPECT_EQ(topElement(0), 1.5f);
  EXPECT_EQ(top.element(12), 4.3f);
  EXPECT_TRUE(covers(-0.2f, -1.6f, 8.8f, 4.4f)) << "scaled, then translated";
  s.g.popModelMatrix();
  s.g.popModelMatrix();
  EXPECT_TRUE(covers(-3, -2, 3, 2)) << "popped twice";

  // A quarter turn about +z: the 6 x 4 rectangle stands 4 x 6.
  s.g.doRotateModel(0, 0, 1, 1.5707964f);
  EXPECT_NEAR(topElement(1), 1.0f, 1e-6f);
  EXPECT_TRUE(covers(-2, -3, 2, 3)) << "turned";
  s.g.resetModelMatrix();
  const float root = static_cast<float>(std::sin(0.7853982));
  s.g.doQuatRotateModel(Quaternion::create(0, 0, root, root));
  EXPECT_TRUE(covers(-2, -3, 2, 3)) << "turned by a quaternion";
  s.g.resetModelMatrix();
  EXPECT_EQ(topElement(1), 0.0f);
  EXPECT_EQ(top.hints(), 0xFC7u) << "reset leaves the identity";

  // loadModelMatrix replaces the top; concatModelMatrix composes M before it.
  Matrix4 m = Matrix4::create();
  m.identity();
  m.doTranslate(-5.4f, 0, 0);
  s.g.loadModelMatrix(m);
  EXPECT_EQ(topElement(12), -5.4f);
  EXPECT_TRUE(covers(-8.4f, -2, -2.4f, 2)) << "loaded";
  Matrix4 twice = Matrix4::create();
  twice.identity();
  twice.doScale(2, 2, 2);
  s.g.concatModelMatrix(twice);  // scale, then move by -5.4
  EXPECT_EQ(topElement(0), 2.0f);
  EXPECT_EQ(top.element(12), -5.4f);
  EXPECT_TRUE(covers(-11.4f, -4, 0.6f, 4)) << "concatenated";
  s.g.resetModelMatrix();
  s.g.endRendering();
  EXPECT_TRUE(covers(-3, -2, 3, 2)) << "reset";
}

}  // namespace
}  // namespace e2e
