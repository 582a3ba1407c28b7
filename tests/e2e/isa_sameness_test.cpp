// The same frames from every instruction set's copy of the scan converters:
// a soup of overlapping triangles, lines and points in every pixel format,
// under every shading, blending, texture, fog, lighting, depth and render
// mode combination, drawn once with each copy this processor runs forced in
// turn and compared byte for byte. (Each copy's triangles are also checked
// against the pixel-by-pixel definition by the TriangleReference tests.)
#include <random>
#include <string>

#include "e2e/e2e_support.h"
#include "raster/raster_isa.h"

namespace e2e {
namespace {

constexpr int kWidth = 96, kHeight = 72;

struct Soup {
  std::vector<float> xyz, uv, lineXyz, pointXyz;
  std::vector<int32_t> indices;
  std::vector<uint32_t> colors, lineColors, pointColors;
};

Soup makeSoup() {
  std::mt19937 random(7411);
  const auto between = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
  const auto colour = [&] { return static_cast<uint32_t>(random()); };
  Soup soup;
  for (int corner = 0; corner < 3 * 40; ++corner) {
    const float depth = between(-9.0f, -2.5f);
    soup.xyz.insert(soup.xyz.end(), {between(-4.5f, 4.5f), between(-3.5f, 3.5f), depth});
    soup.uv.insert(soup.uv.end(), {between(-1.5f, 2.5f), between(-1.5f, 2.5f)});
    soup.indices.push_back(corner);
    soup.colors.push_back(colour());
  }
  for (int end = 0; end < 2 * 12; ++end) {
    soup.lineXyz.insert(soup.lineXyz.end(), {between(-4.5f, 4.5f), between(-3.5f, 3.5f), between(-9.0f, -2.5f)});
    soup.lineColors.push_back(colour());
  }
  for (int point = 0; point < 30; ++point) {
    soup.pointXyz.insert(soup.pointXyz.end(), {between(-4.5f, 4.5f), between(-3.5f, 3.5f), between(-9.0f, -2.5f)});
    soup.pointColors.push_back(colour() | OPAQUE);
  }
  return soup;
}

class IsaSameness : public Scenario, public ::testing::WithParamInterface<Format> {
 protected:
  void TearDown() override {
    forceRasterIsa(bestRasterIsa());
    Scenario::TearDown();
  }

  // Every frame of the sweep, drawn by the copy for `isa`, one after another.
  std::vector<uint32_t> frames(RasterIsa isa, const Soup& soup) {
    EXPECT_TRUE(forceRasterIsa(isa));
    Screen& s = openScreen(GetParam(), kWidth, kHeight, DEPTH_BUFFER);
    KELRendTexture texture = KELRendTexture::create(s.device);
    texture.init(8, 4);
    std::vector<int32_t> texels(32);
    std::mt19937 random(99);
    for (int32_t& texel : texels) texel = static_cast<int32_t>(random());
    texture.convertRect32(0, 0, 8, 4, 0xFF0000, 0xFF00, 0xFF, static_cast<int32_t>(0xFF000000), IntArray::of(texels), 0,
                          8);
    texture.setComplete(1);
    texture.doComplete();
    const KELRendModel triangles = makeTriangles(soup.xyz, soup.indices, soup.colors, soup.uv);
    const KELRendModel lines = makeLines(soup.lineXyz, soup.lineColors);
    const KELRendModel points = makePoints(soup.pointXyz, soup.pointColors);
    Light lamp = Light::create();
    lamp.setColor(0xFFE0C0);
    lamp.setAmbient(0x303030);
    lamp.setPosition(Vector3::create(1.5f, 2.0f, 1.0f));

    std::vector<uint32_t> all;
    for (int config = 0; config < 48; ++config) {
      s.g.beginRendering();
      s.g.doSetClearColor(0x203040);
      s.g.clear(COLOR | DEPTH);
      const bool lit = (config & 8) != 0;
      if (lit) {
        s.g.setMaterial(Material::create(0x101010, 0x606060, 0xC08040, 0xFFFFFF, 12.0f, 160));
        s.g.pushPointLight(lamp);
      } else {
        useColorsAsEmission(s.g);
      }
      s.g.setShadeMode(config % 3);
      s.g.setModelRenderMode((config / 3) % 3);
      const auto feature = [&](int32_t number, bool on) {
        if (on) {
          s.g.enableFeature(number);
        } else {
          s.g.disableFeature(number);
        }
      };
      feature(0, config & 1);  // blending
      s.g.doUseTexture(config & 2 ? texture : KELRendTexture{});
      s.g.doSetFog(config & 4 ? 1 : 0, 0x80A0C0, 3.0f, 9.0f, 0.0f);
      feature(6, config & 16);                                                   // fog per pixel
      feature(7, config & 32);                                                   // separate specular
      feature(4, GetParam() == Format::Indexed8Dithered || (config & 32) != 0);  // dither
      s.g.setDepthBufferMask(config % 5 != 4);
      s.g.doRender(triangles);
      s.g.doRender(lines);
      s.g.doRender(points);
      if (lit) s.g.popLight();
      s.g.endRendering();
      const std::vector<uint32_t> pixels = s.paint();
      all.insert(all.end(), pixels.begin(), pixels.end());
    }
    s.g.doUseTexture({});
    texture.dispose();
    closeScreen(s);
    return all;
  }
};

TEST_P(IsaSameness, EveryCopyDrawsTheSameFrames) {
  const Soup soup = makeSoup();
  std::vector<RasterIsa> compared;
  std::vector<uint32_t> first;
  for (RasterIsa isa : RASTER_ISAS) {
    if (!rasterIsaAvailable(isa)) continue;
    const std::vector<uint32_t> drawn = frames(isa, soup);
    if (compared.empty()) {
      first = drawn;
    } else {
      size_t differing = 0;
      for (size_t i = 0; i < drawn.size(); ++i) differing += drawn[i] != first[i];
      EXPECT_EQ(differing, 0u) << rasterIsaName(isa) << " against " << rasterIsaName(compared.front());
    }
    compared.push_back(isa);
  }
  std::string names;
  for (RasterIsa isa : compared) names += std::string(names.empty() ? "" : ", ") + rasterIsaName(isa);
  std::printf("compared: %s\n", names.c_str());
  // The frames are not blank: the soup covers much of every frame.
  size_t cleared = 0;
  const uint32_t clear = shownFlat(GetParam(), 0x203040);
  for (uint32_t pixel : first) cleared += pixel == clear;
  EXPECT_LT(cleared, first.size() * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(Formats, IsaSameness,
                         ::testing::Values(Format::Rgb32, Format::Rgb24, Format::Rgb16, Format::Rgb555,
                                           Format::Indexed8, Format::Indexed8Dithered),
                         [](const ::testing::TestParamInfo<Format>& info) { return formatName(info.param); });

}  // namespace
}  // namespace e2e
