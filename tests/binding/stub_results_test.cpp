// What the stubs leave on the operand stack, and the natives that return
// before any worker runs.
#include <dlfcn.h>

#include <bit>
#include <cstring>

#include "binding_harness.h"
#include "platform/display.h"

using namespace kelhost;
using namespace bindingtest;

namespace {

TEST(StubResults, VoidNativeLeavesThePointerAndSlots) {
  const JHandle texture = newTextureObject();
  const StubResult result = callTexture("doComplete", {texture});
  EXPECT_EQ(result.advanced, 0);
  EXPECT_EQ(result.slot0, texture);
}

TEST(StubResults, StaticGetDeviceClassWritesExactly24Bytes) {
  const JHandle name = newByteArray(32);
  std::memset(byteElements(name), 0xAA, 32);
  const StubResult result = callStub("Java_kel_ruk_Graphics3DDevice_getDeviceClass_stub", {name});
  EXPECT_EQ(result.advanced, 0);
  EXPECT_EQ(0, std::memcmp(byteElements(name), "kel.ruk.KELRend3DDevice", 24));
  EXPECT_EQ(byteElements(name)[23], 0);
  for (int i = 24; i < 32; ++i) EXPECT_EQ(byteElements(name)[i], 0xAA) << "byte " << i;
}

TEST(StubResults, BooleanFalseTakesSlotZeroAndReturnsSlotOne) {
  RegisteredContext context;
  RegisteredModel model;
  setInt(model.object, MODEL_READY, 0);
  const JHandle ray = newObject(2);
  const JHandle result = newObject(5);
  setFloat(result, PICK_RESULT_DISTANCE, 100.0f);
  const StubResult picked = callGraphics3D("doRayPick", {context.graphics, model.object, ray, result});
  EXPECT_EQ(picked.advanced, 1);
  EXPECT_EQ(picked.slot0, 0u);
  EXPECT_EQ(getFloat(result, PICK_RESULT_DISTANCE), 100.0f) << "a model that is not ready leaves the result";
}

TEST(StubResults, FloatResultTakesSlotZeroAndReturnsSlotOne) {
  // No kel.ruk native returns a float; Vector3.magnitude does.
  const StubResult result = callStub("Java_kel_geom_Vector3_magnitude_stub", {newVector3(3.0f, 4.0f, 0.0f)});
  EXPECT_EQ(result.advanced, 1);
  EXPECT_EQ(result.real(), 5.0f);
}

TEST(StubResults, BooleanTrueIsOne) {
  const JHandle model = newModelObject();
  setInt(model, MODEL_PRIMITIVE_KIND, 2);
  setHandle(model, MODEL_VERTICES, newFloatArray(0));
  const StubResult result = callModel("init", {model});
  EXPECT_EQ(result.advanced, 1);
  EXPECT_EQ(result.slot0, 1u);
  EXPECT_NE(getWord(model, MODEL_NATIVE_MODEL), 0u);
  callModel("dispose", {model});
}

TEST(StubResults, RenderOfAModelThatIsNotReadyDrawsNothingEvenWithoutArrays) {
  BufferContext context;
  const JHandle model = newModelObject();
  setInt(model, MODEL_PRIMITIVE_COUNT, 5);
  setInt(model, MODEL_VERTEX_COUNT, 5);
  const StubResult result = callGraphics3D("doRender", {context.graphics, model});
  EXPECT_EQ(result.advanced, 0);
  EXPECT_EQ(context.colour[0], 0xFF0000u);
  EXPECT_EQ(context.colour[1], 0x0000FFu);
  EXPECT_EQ(context.depth[0], 1 << 30);
}

TEST(StubResults, DisposeAfterAFailedInitDoesNothing) {
  const JHandle graphics = newGraphics3DObject(newDeviceObject());
  EXPECT_EQ(callGraphics3D("dispose", {graphics}).advanced, 0);
  EXPECT_EQ(getWord(graphics, GRAPHICS3D_CONTEXT), 0u);
}

// Sizes whose buffers cannot be addressed give false before anything is
// allocated or created.
struct AbsurdSize {
  int32_t width, height;
};
class InitRefusesAbsurdSizes : public testing::TestWithParam<AbsurdSize> {};

TEST_P(InitRefusesAbsurdSizes, WithoutCreatingAnything) {
  const JHandle graphics = newGraphics3DObject(newDeviceObject());
  setWord(graphics, GRAPHICS3D_CONTEXT, 0x1234);
  const StubResult result = callGraphics3D("init", {graphics, 6, GetParam().width, GetParam().height});
  EXPECT_EQ(result.advanced, 1);
  EXPECT_EQ(result.slot0, 0u);
  EXPECT_EQ(getWord(graphics, GRAPHICS3D_CONTEXT), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, InitRefusesAbsurdSizes,
                         testing::Values(AbsurdSize{-1, 10}, AbsurdSize{10, -1}, AbsurdSize{INT32_MIN, INT32_MIN},
                                         AbsurdSize{32768, 32768}, AbsurdSize{65536, 65536}, AbsurdSize{46341, 46341},
                                         AbsurdSize{INT32_MAX, 2}));

TEST(LibraryEntry, LoadingTheLibraryTurnsOffThreadNotifications) {
  const int before = displayCounts().threadLibraryCallsDisabled;
  void* library = dlopen(KELRUK_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_EQ(displayCounts().threadLibraryCallsDisabled, before + 1);
  dlclose(library);
}

}  // namespace
