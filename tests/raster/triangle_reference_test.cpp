// Every triangle routine of every table against a plain pixel-by-pixel
// reference written from the definition of a half, on random inputs: the
// colour buffers (padding included) and depth buffers must be identical. The
// routines shade a block of pixels per step where they can, so this also
// proves the block spans bit-exact, in the copy of every instruction set
// this processor runs.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "device/pixel_format.h"
#include "raster/raster.h"
#include "raster/raster_isa.h"
#include "raster_canvas.h"

namespace {

constexpr uint32_t WIDTH = 70, HEIGHT = 12;

struct HalfInputs {
  RasterPrimitive primitive{};
  RasterVertex start{}, end{};
  int32_t leftX, rightX, leftStep, rightStep;
  float prestep;
};

int32_t truncated(double value) {
  if (value >= -2147483648.0 && value < 2147483648.0) return static_cast<int32_t>(value);
  return INT32_MIN;
}

uint32_t clamped(uint32_t value816) {
  const int32_t whole = static_cast<int32_t>(value816) >> 16;
  return static_cast<uint32_t>(std::clamp(whole, 0, 255));
}

uint32_t P(uint32_t a, uint32_t b) { return (a * b + 128) / 255; }

enum Target { NEAREST, DITHERED, RGB555, RGB16, RGB24, RGB32 };

uint32_t formatOf(Target t) {
  const uint32_t formats[] = {Indexed8, Indexed8, Rgb555, Rgb16, Rgb24, Rgb32};
  return formats[t];
}

const TriangleRoutine* tableOf(RasterIsa isa, Target t) {
  const RasterTableSet* set = rasterTablesForIsa(isa, formatOf(t));
  return t == DITHERED ? set->ditheredTriangles : set->triangles;
}

void readBack(Target t, uint32_t p, uint32_t* rgb) {
  switch (t) {
    case RGB555: rgb[0] = ((p >> 10) & 31) << 3, rgb[1] = ((p >> 5) & 31) << 3, rgb[2] = (p & 31) << 3; break;
    case RGB16: rgb[0] = ((p >> 11) & 31) << 3, rgb[1] = ((p >> 5) & 63) << 2, rgb[2] = (p & 31) << 3; break;
    case RGB24:
    case RGB32: rgb[0] = (p >> 16) & 255, rgb[1] = (p >> 8) & 255, rgb[2] = p & 255; break;
    default: rgb[0] = rgb[1] = rgb[2] = p;
  }
}

uint32_t encode(Target t, RasterCanvas& canvas, uint32_t row, uint32_t column, const uint32_t* c) {
  switch (t) {
    case RGB555: return ((c[0] >> 3) << 10) | ((c[1] >> 3) << 5) | (c[2] >> 3);
    case RGB16: return ((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3);
    case RGB24:
    case RGB32: return (c[0] << 16) | (c[1] << 8) | c[2];
    case NEAREST: return canvas.map12[(c[0] >> 4) + 16 * (c[1] >> 4) + 256 * (c[2] >> 4)];
    case DITHERED: {
      const uint32_t offset = row * canvas.rowBytes + column;
      const uint32_t threshold = DitherMatrix[(row % 4) * 4 + offset % 4];
      uint32_t index = 0;
      for (uint32_t i = 0; i < 3; ++i) index += (c[i] / 85 + (c[i] % 85 > threshold ? 1 : 0)) << (2 * i);
      return canvas.map6[index];
    }
  }
  return 0;
}

// The half drawn pixel by pixel: the k-th pixel of a row sees row value + k
// times the gradient.
void referenceHalf(Target t, uint32_t slot, RasterCanvas& canvas, const HalfInputs& in) {
  const bool test = slot & 1, write = slot & 2, smooth = slot & RF_SMOOTH, blend = slot & RF_BLEND,
             texture = slot & RF_TEXTURE, specular = slot & RF_SPECULAR, fog = slot & RF_FOG;
  const bool flat = !smooth && !specular && !fog && (!blend || (texture && (slot & 3) != 1 && (slot & 3) != 2));
  const int32_t firstRow = in.start.y >> 16, endRow = in.end.y >> 16;
  const float inverseHeight = static_cast<float>(1.0 / ((in.end.y - (firstRow + 1) * 65536.0) / 65536.0));
  const int32_t RasterVertex::*fields[] = {&RasterVertex::z, &RasterVertex::c0, &RasterVertex::c1, &RasterVertex::c2,
                                           &RasterVertex::a, &RasterVertex::s0, &RasterVertex::s1, &RasterVertex::s2,
                                           &RasterVertex::f, &RasterVertex::u,  &RasterVertex::v};
  const int32_t gradients[] = {in.primitive.dzdx, in.primitive.dc0dx, in.primitive.dc1dx, in.primitive.dc2dx,
                               in.primitive.dadx, in.primitive.ds0dx, in.primitive.ds1dx, in.primitive.ds2dx,
                               in.primitive.dfdx, in.primitive.dudx,  in.primitive.dvdx};
  int32_t rowValue[11], rowStep[11];
  for (int i = 0; i < 11; ++i) {
    const double p = in.prestep;
    rowValue[i] = truncated((1 - p) * (in.start.*fields[i]) + p * (in.end.*fields[i]));
    rowStep[i] = truncated((static_cast<double>(in.end.*fields[i]) - rowValue[i]) * inverseHeight);
  }
  const uint32_t* fogColour = canvas.fog;
  for (int32_t row = firstRow; row < endRow; ++row) {
    const uint32_t r = static_cast<uint32_t>(row - firstRow);
    const int32_t left =
        static_cast<int32_t>(static_cast<uint32_t>(in.leftX) + r * static_cast<uint32_t>(in.leftStep)) >> 16;
    const int32_t right =
        static_cast<int32_t>(static_cast<uint32_t>(in.rightX) + r * static_cast<uint32_t>(in.rightStep)) >> 16;
    for (int32_t column = left; column < right; ++column) {
      uint32_t q[11];
      for (int i = 0; i < 11; ++i) {
        q[i] = static_cast<uint32_t>(rowValue[i]) + r * static_cast<uint32_t>(rowStep[i]) +
               static_cast<uint32_t>(column - left) * static_cast<uint32_t>(gradients[i]);
      }
      const int32_t z = static_cast<int32_t>(q[0]);
      int32_t& stored = canvas.depthAt(static_cast<uint32_t>(row), static_cast<uint32_t>(column));
      if (test && stored <= z) continue;
      uint32_t c[3], dst[3];
      readBack(t, canvas.pixel(static_cast<uint32_t>(row), static_cast<uint32_t>(column)), dst);
      const uint32_t texel =
          texture
              ? canvas.texels[((static_cast<uint64_t>(q[10] << 16) >> (32 - canvas.log2Height)) << canvas.log2Width) |
                              (static_cast<uint64_t>(q[9] << 16) >> (32 - canvas.log2Width))]
              : 0;
      for (int i = 0; i < 3; ++i) {
        uint32_t x = flat ? clamped(static_cast<uint32_t>((&in.start.c0)[i])) : clamped(q[1 + i]);
        if (texture) x = P((texel >> (16 - 8 * i)) & 255, x);
        if (specular) x = std::min(x + clamped(q[5 + i]), 255u);
        if (blend) x = P(clamped(q[4]), x) + P(255 - clamped(q[4]), dst[i]);
        if (fog) x = P(fogColour[i], clamped(q[8])) + P(255 - clamped(q[8]), x);
        c[i] = x;
      }
      canvas.setPixel(static_cast<uint32_t>(row), static_cast<uint32_t>(column),
                      encode(t, canvas, static_cast<uint32_t>(row), static_cast<uint32_t>(column), c));
      if (write) stored = z;
    }
  }
}

struct Generator {
  std::mt19937 random{20240607};
  int32_t between(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); }
  int32_t any() { return static_cast<int32_t>(random()); }
  // An 8.16 value mostly inside 0..255, sometimes drifting past either end.
  int32_t intensity() { return between(-0x30000, 0x1020000); }

  HalfInputs half() {
    HalfInputs in;
    const int32_t firstRow = between(0, HEIGHT - 1);
    const int32_t rows = between(1, static_cast<int32_t>(HEIGHT) - firstRow);
    in.start.y = firstRow * 65536 + between(0, 0xFFFF);
    in.end.y = between(0, 3) == 0 ? (firstRow + rows) * 65536 : (firstRow + rows) * 65536 + between(0, 0xFFFF);
    if ((in.end.y >> 16) > static_cast<int32_t>(HEIGHT)) in.end.y = static_cast<int32_t>(HEIGHT) * 65536;
    in.prestep = std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
    for (RasterVertex* v : {&in.start, &in.end}) {
      v->z = between(-100000, 100000);
      v->c0 = intensity(), v->c1 = intensity(), v->c2 = intensity(), v->a = intensity();
      v->s0 = intensity(), v->s1 = intensity(), v->s2 = intensity(), v->f = intensity();
      v->u = any(), v->v = any();
    }
    RasterPrimitive& p = in.primitive;
    p.dzdx = between(-3000, 3000);
    for (int32_t* d : {&p.dc0dx, &p.dc1dx, &p.dc2dx, &p.dadx, &p.ds0dx, &p.ds1dx, &p.ds2dx, &p.dfdx}) {
      *d = between(-0x60000, 0x60000);
    }
    p.dudx = any() >> between(0, 20);
    // A third of the spans keep to one texel row, as a texture seen square
    // on does.
    p.dvdx = between(0, 2) == 0 ? between(-8, 8) : any() >> between(0, 16);
    // Edges whose spans stay inside the buffer on every row.
    for (;;) {
      in.leftX = between(0, WIDTH * 65536 - 1);
      in.rightX = in.leftX + between(-4 * 65536, WIDTH * 65536);
      in.leftStep = between(-3 * 65536, 3 * 65536);
      in.rightStep = between(-3 * 65536, 3 * 65536);
      bool inside = true;
      for (int32_t r = 0; r < rows + 1; ++r) {
        const int32_t left = (in.leftX + r * in.leftStep) >> 16, right = (in.rightX + r * in.rightStep) >> 16;
        if (left < right && (left < 0 || right > static_cast<int32_t>(WIDTH))) inside = false;
      }
      if (inside) return in;
    }
  }

  void scene(RasterCanvas& canvas) {
    for (uint8_t& byte : canvas.color) byte = static_cast<uint8_t>(random());
    for (int32_t& d : canvas.depth) d = between(-120000, 120000);
    const uint32_t log2Width = static_cast<uint32_t>(between(0, 6)), log2Height = static_cast<uint32_t>(between(0, 3));
    std::vector<uint32_t> texels(1u << (log2Width + log2Height));
    for (uint32_t& texel : texels) texel = random();
    canvas.setTexture(log2Width, log2Height, std::move(texels));
    canvas.setFog(random() & 0xFF, random() & 0xFF, random() & 0xFF);
  }
};

class TriangleReference : public testing::TestWithParam<std::tuple<RasterIsa, Target>> {};

TEST_P(TriangleReference, EverySlotMatchesThePixelByPixelDefinition) {
  const auto [isa, target] = GetParam();
  if (!rasterIsaAvailable(isa)) GTEST_SKIP() << rasterIsaName(isa) << " is not built in or not run by this processor";
  Generator generate;
  const uint32_t format = formatOf(target);
  for (uint32_t slot = 0; slot < TRIANGLE_TABLE_SIZE; ++slot) {
    for (int round = 0; round < 12; ++round) {
      RasterCanvas drawn(format, WIDTH, HEIGHT, round % 4);
      generate.scene(drawn);
      RasterCanvas expected(format, WIDTH, HEIGHT, round % 4);
      expected.color = drawn.color;
      expected.depth = drawn.depth;
      expected.setTexture(drawn.log2Width, drawn.log2Height, drawn.texels);
      expected.setFog(drawn.fog[0], drawn.fog[1], drawn.fog[2]);

      const HalfInputs in = generate.half();
      tableOf(isa, target)[slot](drawn.target(), &in.primitive, &in.start, &in.end, in.leftX, in.rightX, in.leftStep,
                                 in.rightStep, in.prestep);
      referenceHalf(target, slot, expected, in);
      ASSERT_EQ(drawn.color, expected.color) << "slot " << slot << " round " << round;
      ASSERT_EQ(drawn.depth, expected.depth) << "slot " << slot << " round " << round;
    }
  }
}

std::string caseName(const testing::TestParamInfo<std::tuple<RasterIsa, Target>>& info) {
  const char* formats[] = {"Nearest", "Dithered", "Rgb555", "Rgb16", "Rgb24", "Rgb32"};
  return std::string(rasterIsaName(std::get<0>(info.param))) + "_" + formats[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Targets, TriangleReference,
                         testing::Combine(testing::ValuesIn(RASTER_ISAS),
                                          testing::Values(NEAREST, DITHERED, RGB555, RGB16, RGB24, RGB32)),
                         caseName);

}  // namespace
