// Textured frames: textures filled from 32-bit and 8-bit images, bound,
// modulating a rectangle's colour, moved by the texture matrix and switched
// by the texture settings. The rectangle x -8..8, y -6..6 at depth 5 under
// the orthographic view has texture coordinates (0, 0) at its bottom left and
// (1, 1) at its top right. Flat-coloured textured triangles take their colour
// from one vertex, so every drawn pixel is P[texel][colour] exactly.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

constexpr int kWidth = 32, kHeight = 24;
constexpr uint32_t kClear = 0x203040;
constexpr int32_t kAlphaMask = static_cast<int32_t>(0xFF000000u);

// The 2 x 2 image, rows from the top: A B / C D.
constexpr uint32_t kA = 0xE02020, kB = 0x20E020, kC = 0x2020E0, kD = 0xE0E020;
constexpr uint32_t kImage[4] = {kA, kB, kC, kD};

class TextureScenario : public Scenario, public ::testing::WithParamInterface<Format> {
 protected:
  Screen& begin() {
    Screen& s = openScreen(GetParam(), kWidth, kHeight, NO_BUFFERS);
    beginFrame(s, kClear, COLOR);
    s.g.doSetOrthographicProjection(kWidth / 2.0f, kHeight / 2.0f, 1.0f, 100.0f);
    return s;
  }
  KELRendTexture image2x2(KELRend3DDevice device) {
    KELRendTexture t = KELRendTexture::create(device);
    t.init(2, 2);
    EXPECT_NE(t.nativeTexture(), 0);
    const IntArray pixels = IntArray::of({static_cast<int32_t>(OPAQUE | kA), static_cast<int32_t>(OPAQUE | kB),
                                          static_cast<int32_t>(OPAQUE | kC), static_cast<int32_t>(OPAQUE | kD)});
    t.convertRect32(0, 0, 2, 2, 0xFF0000, 0xFF00, 0xFF, kAlphaMask, pixels, 0, 2);
    t.setComplete(1);
    t.doComplete();
    return t;
  }
  PixelRect rect() const { return quadPixels(View::ortho(kWidth, kHeight), -8, -6, 8, 6, 5); }
  // The rectangle in opaque white, with texture coordinates.
  static KELRendModel whiteRectangle() { return makeQuad(-8, -6, 8, 6, -5, OPAQUE | 0xFFFFFF, true); }
  // Unbinds the texture before the program disposes it, as it must.
  static void finish(Screen& s, KELRendTexture t) {
    s.g.doUseTexture({});
    s.g.endRendering();
    t.dispose();
    EXPECT_EQ(t.nativeTexture(), 0);
  }

  // Draws the model and checks every pixel: `inside(c, r)` within the
  // rectangle (~0 for "not checked": pixels next to a texel boundary), the
  // clear colour outside.
  template <class Inside>
  ::testing::AssertionResult drawsAs(Screen& s, KELRendModel model, Inside inside) {
    s.g.clear(COLOR);
    s.g.doRender(model);
    const PixelRect r = rect();
    const std::vector<uint32_t> pixels = s.paint();
    return framePixelsAre(s, pixels, [&](int c, int row) {
      if (!r.contains(c, row)) return shownFlat(s.format, kClear);
      const uint32_t rgb = inside(c, row);
      return rgb == ~0u ? s.at(pixels, c, row) : shownTriangle(s.format, rgb, row, c);
    });
  }
  // The texel of the 2 x 2 image that a pixel shows, away from the middle
  // lines (u = 0.5 at screen x 16, v = 0.5 at screen y 12); ~0 near them.
  static uint32_t quadrant(int c, int r, const uint32_t image[4]) {
    if (c >= 14 && c <= 17) return ~0u;
    if (r >= 10 && r <= 13) return ~0u;
    return image[(r > 12 ? 2 : 0) + (c > 16 ? 1 : 0)];
  }
};

TEST_P(TextureScenario, TexturedRectangle) {
  Screen& s = begin();
  // One texel (128, 192, 64) on a grey (128) rectangle: P[128][128] = 64,
  // P[192][128] = 96, P[64][128] = 32.
  KELRendTexture one = KELRendTexture::create(s.device);
  one.init(1, 1);
  ASSERT_NE(one.nativeTexture(), 0);
  one.convertRect32(0, 0, 1, 1, 0xFF0000, 0xFF00, 0xFF, kAlphaMask, IntArray::of({static_cast<int32_t>(0xFF80C040)}), 0,
                    1);
  one.setComplete(1);
  one.doComplete();
  EXPECT_EQ(one.complete(), 1) << "doComplete changes nothing";
  s.g.doUseTexture(one);
  ASSERT_EQ((product(0x80, 0x80) << 16) | (product(0xC0, 0x80) << 8) | product(0x40, 0x80), 0x406020u);
  EXPECT_TRUE(drawsAs(s, makeQuad(-8, -6, 8, 6, -5, OPAQUE | 0x808080, true), [](int, int) { return 0x406020u; }));

  // The 2 x 2 image stands upright on a white rectangle: source row 0 is the
  // top of the picture, where v is near 1.
  KELRendTexture four = image2x2(s.device);
  s.g.doUseTexture(four);
  const KELRendModel white = whiteRectangle();
  EXPECT_TRUE(drawsAs(s, white, [&](int c, int r) { return quadrant(c, r, kImage); }));

  // Texels take their device's layout: from a device whose red lies lowest,
  // a red source pixel lands in the texel's low byte and shows as blue.
  KELRend3DDevice swapped = KELRend3DDevice::create();
  swapped.initDirect(0xFF, 0xFF00, 0xFF0000);
  KELRendTexture red = KELRendTexture::create(swapped);
  red.init(1, 1);
  red.convertRect32(0, 0, 1, 1, 0xFF0000, 0xFF00, 0xFF, kAlphaMask, IntArray::of({static_cast<int32_t>(0xFFFF0000)}), 0,
                    1);
  red.setComplete(1);
  s.g.doUseTexture(red);
  EXPECT_TRUE(drawsAs(s, white, [](int, int) { return 0x0000FFu; }));

  // A texture whose image is not complete is not bound: texturing is off.
  four.setComplete(0);
  s.g.doUseTexture(four);
  EXPECT_TRUE(drawsAs(s, white, [](int, int) { return 0xFFFFFFu; }));

  s.g.doUseTexture({});
  s.g.endRendering();
  for (KELRendTexture t : {one, four, red}) {
    t.dispose();
    EXPECT_EQ(t.nativeTexture(), 0);
  }
}

// A texture disposed while still bound keeps drawing in that context: the
// binding holds its texels, and a texture made afterwards gets texels of
// its own, until the context binds something else.
TEST_P(TextureScenario, DisposedWhileBoundKeepsDrawing) {
  Screen& s = begin();
  KELRendTexture t = image2x2(s.device);
  s.g.doUseTexture(t);
  t.dispose();
  KELRendTexture later = KELRendTexture::create(s.device);
  later.init(2, 2);
  const KELRendModel white = whiteRectangle();
  EXPECT_TRUE(drawsAs(s, white, [&](int c, int r) { return quadrant(c, r, kImage); }));
  s.g.doUseTexture({});
  EXPECT_TRUE(drawsAs(s, white, [](int, int) { return 0xFFFFFFu; }));
  s.g.endRendering();
  later.dispose();
}

// An 8-bit image through a palette of three colours; index 3 lies past the
// palette and leaves its texel as a new texture has it, opaque white. The
// source rows are 3 bytes apart and start one byte in.
TEST_P(TextureScenario, PalettedTexture) {
  Screen& s = begin();
  KELRendTexture t = KELRendTexture::create(s.device);
  t.init(2, 2);
  const IntArray palette = IntArray::of(
      {static_cast<int32_t>(OPAQUE | kA), static_cast<int32_t>(OPAQUE | kB), static_cast<int32_t>(OPAQUE | kC)});
  t.convertRect8(0, 0, 2, 2, palette, 3, ByteArray::of({9, 0, 1, 9, 2, 3}), 1, 3);
  t.setComplete(1);
  s.g.doUseTexture(t);
  const uint32_t image[4] = {kA, kB, kC, 0xFFFFFF};
  EXPECT_TRUE(drawsAs(s, whiteRectangle(), [&](int c, int r) { return quadrant(c, r, image); }));
  finish(s, t);
}

// A texture matrix scaling by 1/4 keeps every coordinate below 1/4: the whole
// rectangle shows texel (0, 0), the bottom left of the image.
TEST_P(TextureScenario, TextureMatrixScalesCoordinates) {
  Screen& s = begin();
  KELRendTexture t = image2x2(s.device);
  s.g.doUseTexture(t);
  Matrix4 quarter = Matrix4::create();
  quarter.identity();
  quarter.doScale(0.25f, 0.25f, 1.0f);
  s.g.loadTextureMatrix(quarter);
  Matrix4 back = Matrix4::create();
  s.g.doGetTextureMatrix(back);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(back.words()[i], quarter.words()[i]) << "word " << i;
  const KELRendModel white = whiteRectangle();
  EXPECT_TRUE(drawsAs(s, white, [](int, int) { return kC; }));

  Matrix4 identity = Matrix4::create();
  identity.identity();
  s.g.loadTextureMatrix(identity);
  EXPECT_TRUE(drawsAs(s, white, [&](int c, int r) { return quadrant(c, r, kImage); }));
  finish(s, t);
}

// Texture blend mode 0 makes textured triangles flat: every corner takes the
// first corner's colour (v0 of both triangles). Modes 1 and 2 keep smooth
// shading. A new texture is opaque white, so the colour shows unchanged.
TEST_P(TextureScenario, BlendModeZeroDropsSmoothShading) {
  Screen& s = begin();
  KELRendTexture t = KELRendTexture::create(s.device);
  t.init(1, 1);
  t.setComplete(1);
  s.g.doUseTexture(t);
  const uint32_t corners[4] = {OPAQUE | 0xFF0000, OPAQUE | 0x00FF00, OPAQUE | 0x0000FF, OPAQUE | 0xFFFFFF};
  const KELRendModel quad = makeQuadColored(-8, -6, 8, 6, -5, corners, true);
  s.g.setTextureBlendMode(0);
  EXPECT_TRUE(drawsAs(s, quad, [](int, int) { return 0xFF0000u; }));
  for (int32_t mode : {1, 2}) {
    s.g.setTextureBlendMode(mode);
    s.g.clear(COLOR);
    s.g.doRender(quad);
    const std::vector<uint32_t> pixels = s.paint();
    const PixelRect r = rect();
    EXPECT_NE(s.at(pixels, r.column0 + 1, r.row1 - 2), s.at(pixels, r.column1 - 2, r.row0 + 1)) << "mode " << mode;
  }
  finish(s, t);
}

// Filter, wrapping and coordinate generation are stored and read by no
// drawing step; the texture feature (1) switches texturing.
TEST_P(TextureScenario, StoredOnlySettingsChangeNothing) {
  Screen& s = begin();
  KELRendTexture t = image2x2(s.device);
  s.g.doUseTexture(t);
  const KELRendModel white = whiteRectangle();
  s.g.clear(COLOR);
  s.g.doRender(white);
  const std::vector<uint32_t> before = s.paint();
  for (int32_t filter = 0; filter < 6; ++filter) s.g.setTextureFilter(filter);
  s.g.setTextureWrapping(false, false);
  s.g.doSetTextureCoordinateGeneration(1, 2, 0.5f, 0.25f, 0.0f, 0.0f, 1.0f, 0.0f);
  s.g.clear(COLOR);
  s.g.doRender(white);
  EXPECT_EQ(s.paint(), before);
  EXPECT_TRUE(drawsAs(s, white, [&](int c, int r) { return quadrant(c, r, kImage); }));

  s.g.disableFeature(1);
  EXPECT_TRUE(drawsAs(s, white, [](int, int) { return 0xFFFFFFu; })) << "texturing off";
  s.g.enableFeature(1);
  EXPECT_TRUE(drawsAs(s, white, [&](int c, int r) { return quadrant(c, r, kImage); })) << "texturing on";
  finish(s, t);
}

INSTANTIATE_TEST_SUITE_P(Formats, TextureScenario,
                         ::testing::Values(Format::Rgb32, Format::Rgb24, Format::Rgb16, Format::Rgb555,
                                           Format::Indexed8, Format::Indexed8Dithered),
                         [](const ::testing::TestParamInfo<Format>& info) { return formatName(info.param); });

}  // namespace
}  // namespace e2e
