// Java constants reach the context's attributes through the natives' tables,
// and float arguments arrive bit for bit.
#include <bit>

#include "binding_harness.h"

using namespace kelhost;
using namespace bindingtest;

namespace {

// Attribute ids, written out as the Java side's documentation gives them.
constexpr uint32_t SHADE_MODE = 1, COLOR_MATERIAL = 2, DEPTH_TEST = 5, DEPTH_WRITE = 6, TWO_SIDED = 10, CULL_BACK = 11,
                   WRAP_S = 12, WRAP_T = 13, TEXTURE_BLEND = 15, FOG_MODE = 17, RENDER_MODE = 18, TEXGEN_S = 19,
                   TEXGEN_T = 20, CLEAR_DEPTH = 21, FOG_START = 22, FOG_END = 23, FOG_DENSITY = 24, CLEAR_COLOR = 31,
                   FOG_COLOR = 32, TEXTURE_FILTER = 34;

// One native with one int argument storing a mapped value into one attribute.
struct Mapping {
  const char* method;
  int32_t argument;
  uint32_t attribute;
  uint32_t stored;
};
void PrintTo(const Mapping& m, std::ostream* os) { *os << m.method << "(" << m.argument << ")"; }

class IntMappings : public testing::TestWithParam<Mapping> {};

TEST_P(IntMappings, StoreTheMappedValue) {
  RegisteredContext context;
  context.record->attributes[GetParam().attribute] = 0xDEADBEEF;
  EXPECT_EQ(callGraphics3D(GetParam().method, {context.graphics, GetParam().argument}).advanced, 0);
  EXPECT_EQ(context.attribute(GetParam().attribute), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Natives, IntMappings,
    testing::Values(
        Mapping{"setModelRenderMode", 0, RENDER_MODE, 2}, Mapping{"setModelRenderMode", 1, RENDER_MODE, 1},
        Mapping{"setModelRenderMode", 2, RENDER_MODE, 0}, Mapping{"setShadeMode", 0, SHADE_MODE, 0},
        Mapping{"setShadeMode", 1, SHADE_MODE, 1}, Mapping{"setShadeMode", 2, SHADE_MODE, 2},
        Mapping{"setTextureBlendMode", 0, TEXTURE_BLEND, 0}, Mapping{"setTextureBlendMode", 1, TEXTURE_BLEND, 2},
        Mapping{"setTextureBlendMode", 2, TEXTURE_BLEND, 1}, Mapping{"setModifiedMaterialColor", 0, COLOR_MATERIAL, 0},
        Mapping{"setModifiedMaterialColor", 3, COLOR_MATERIAL, 3}, Mapping{"setTextureFilter", 0, TEXTURE_FILTER, 0},
        Mapping{"setTextureFilter", 5, TEXTURE_FILTER, 5},
        Mapping{"doSetClearColor", int32_t(0xFF123456), CLEAR_COLOR, 0x123456},
        Mapping{"doSetClearColor", 0x00FF8000, CLEAR_COLOR, 0xFF8000}));

// Feature numbers and the attribute each switches.
constexpr uint32_t FEATURE_ATTRIBUTES[8] = {4, 0, 9, 8, 14, 37, 35, 36};

class Features : public testing::TestWithParam<int32_t> {};

TEST_P(Features, EnableAndDisableTheirAttribute) {
  RegisteredContext context;
  const uint32_t attribute = FEATURE_ATTRIBUTES[GetParam()];
  callGraphics3D("enableFeature", {context.graphics, GetParam()});
  EXPECT_EQ(context.attribute(attribute), 1u);
  callGraphics3D("disableFeature", {context.graphics, GetParam()});
  EXPECT_EQ(context.attribute(attribute), 0u);
  // No other attribute moved.
  for (uint32_t id = 0; id < ATTRIBUTE_COUNT; ++id) {
    if (id != attribute) {
      EXPECT_EQ(context.attribute(id), 0u) << "attribute " << id;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Numbers, Features, testing::Range(0, 8));

struct DepthMask {
  int32_t mask;
  uint32_t test, write;
};
class DepthBufferMask : public testing::TestWithParam<DepthMask> {};

TEST_P(DepthBufferMask, SplitsIntoDepthTestAndDepthWrite) {
  RegisteredContext context;
  context.record->attributes[DEPTH_TEST] = 7;
  context.record->attributes[DEPTH_WRITE] = 7;
  callGraphics3D("setDepthBufferMask", {context.graphics, GetParam().mask});
  EXPECT_EQ(context.attribute(DEPTH_TEST), GetParam().test);
  EXPECT_EQ(context.attribute(DEPTH_WRITE), GetParam().write);
}

INSTANTIATE_TEST_SUITE_P(Masks, DepthBufferMask,
                         testing::Values(DepthMask{0, 0, 0}, DepthMask{1, 1, 0}, DepthMask{2, 0, 1}, DepthMask{3, 1, 1},
                                         DepthMask{-4, 0, 0}, DepthMask{-1, 1, 1}, DepthMask{6, 0, 1}));

TEST(Fog, ModeZeroStoresOnlyTheMode) {
  RegisteredContext context;
  for (uint32_t id : {FOG_COLOR, FOG_START, FOG_END, FOG_DENSITY}) context.record->attributes[id] = 0xDEADBEEF;
  context.record->attributes[FOG_MODE] = 3;
  callGraphics3D("doSetFog", {context.graphics, 0, 0x112233, 1.0f, 2.0f, 3.0f});
  EXPECT_EQ(context.attribute(FOG_MODE), 0u);
  for (uint32_t id : {FOG_COLOR, FOG_START, FOG_END, FOG_DENSITY}) EXPECT_EQ(context.attribute(id), 0xDEADBEEF);
}

TEST(Fog, NonzeroModeStoresColourAndRange) {
  RegisteredContext context;
  callGraphics3D("doSetFog", {context.graphics, 2, int32_t(0xFF123456), 1.5f, -0.0f, 0.25f});
  EXPECT_EQ(context.attribute(FOG_MODE), 2u);
  EXPECT_EQ(context.attribute(FOG_COLOR), 0x123456u);
  EXPECT_EQ(context.attribute(FOG_START), std::bit_cast<uint32_t>(1.5f));
  EXPECT_EQ(context.attribute(FOG_END), 0x80000000u);
  EXPECT_EQ(context.attribute(FOG_DENSITY), std::bit_cast<uint32_t>(0.25f));
}

class FloatBits : public testing::TestWithParam<uint32_t> {};

TEST_P(FloatBits, ReachTheClearDepthUnchanged) {
  RegisteredContext context;
  callGraphics3D("setClearDepth", {context.graphics, jbits(GetParam())});
  EXPECT_EQ(context.attribute(CLEAR_DEPTH), GetParam());
}

// Negative zero, a NaN with a payload, the smallest subnormal, an ordinary value.
INSTANTIATE_TEST_SUITE_P(Patterns, FloatBits, testing::Values(0x80000000u, 0x7FC0ABCDu, 0x00000001u, 0x49742400u));

TEST(TextureCoordinateGeneration, StoresModesAndPlanesBitForBit) {
  RegisteredContext context;
  callGraphics3D("doSetTextureCoordinateGeneration",
                 {context.graphics, 3, 4, -0.0f, 1.0f, 2.0f, 3.0f, 4.0f, jbits(0x7FC00001u)});
  EXPECT_EQ(context.attribute(TEXGEN_S), 3u);
  EXPECT_EQ(context.attribute(TEXGEN_T), 4u);
  EXPECT_EQ(context.attribute(25), 0x80000000u);
  EXPECT_EQ(context.attribute(26), std::bit_cast<uint32_t>(1.0f));
  EXPECT_EQ(context.attribute(27), std::bit_cast<uint32_t>(2.0f));
  EXPECT_EQ(context.attribute(28), std::bit_cast<uint32_t>(3.0f));
  EXPECT_EQ(context.attribute(29), std::bit_cast<uint32_t>(4.0f));
  EXPECT_EQ(context.attribute(30), 0x7FC00001u);
}

TEST(Switches, WrappingLightingAndCulling) {
  RegisteredContext context;
  callGraphics3D("setTextureWrapping", {context.graphics, true, false});
  EXPECT_EQ(context.attribute(WRAP_S), 1u);
  EXPECT_EQ(context.attribute(WRAP_T), 0u);
  callGraphics3D("enableTwoSidedLighting", {context.graphics});
  EXPECT_EQ(context.attribute(TWO_SIDED), 1u);
  callGraphics3D("disableTwoSidedLighting", {context.graphics});
  EXPECT_EQ(context.attribute(TWO_SIDED), 0u);
  callGraphics3D("enableBackfaceCulling", {context.graphics});
  EXPECT_EQ(context.attribute(CULL_BACK), 1u);
  callGraphics3D("disableBackfaceCulling", {context.graphics});
  EXPECT_EQ(context.attribute(CULL_BACK), 0u);
}

}  // namespace
