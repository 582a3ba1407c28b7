// What the natives hand their workers and write back: observed in the records
// the workers fill.
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "binding_harness.h"
#include "device/color_model.h"
#include "matrix/matrix.h"
#include "pipeline/lighting.h"
#include "platform/display.h"
#include "texture/texture.h"

using namespace kelhost;
using namespace bindingtest;

namespace {

// --- Devices -----------------------------------------------------------------

struct DirectMasks {
  uint32_t red, green, blue;
  uint32_t depth;   // what the native asks for
  uint32_t format;  // what the device becomes
  uint32_t redWordShift, blueWordShift;
};
class DirectDevices : public testing::TestWithParam<DirectMasks> {};

TEST_P(DirectDevices, AskForDepth32OnlyWhenTheMasksFillThreeBytes) {
  const DirectMasks& m = GetParam();
  const JHandle object = newDeviceObject();
  callDevice("initDirect", {object, m.red, m.green, m.blue});
  const auto* device = nativeRefResolveAs<RukDevice>(getWord(object, DEVICE_NATIVE_DEVICE), NativeKind::Device);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->descriptor.depth, m.depth);
  EXPECT_EQ(device->descriptor.redMask, m.red);
  EXPECT_EQ(device->descriptor.greenMask, m.green);
  EXPECT_EQ(device->descriptor.blueMask, m.blue);
  EXPECT_EQ(device->colorModel.format, m.format);
  EXPECT_EQ(device->colorModel.redWordShift, m.redWordShift);
  EXPECT_EQ(device->colorModel.blueWordShift, m.blueWordShift);
}

INSTANTIATE_TEST_SUITE_P(Masks, DirectDevices,
                         testing::Values(DirectMasks{0xFF0000, 0xFF00, 0xFF, 32, Rgb32, 16, 0},
                                         DirectMasks{0xFF, 0xFF00, 0xFF0000, 32, Rgb32, 0, 16},
                                         DirectMasks{0x7C00, 0x3E0, 0x1F, 16, Rgb555, 16, 0},
                                         DirectMasks{0xF800, 0x7E0, 0x1F, 16, Rgb16, 16, 0}));

TEST(Devices, IndexedDeviceTakesThePaletteArrays) {
  const JHandle object = newDeviceObject();
  callDevice("initIndexed", {object, 3, newByteArray({std::initializer_list<uint8_t>{255, 0, 1}}),
                             newByteArray({std::initializer_list<uint8_t>{0, 255, 2}}),
                             newByteArray({std::initializer_list<uint8_t>{0, 0, 3}})});
  const auto* device = nativeRefResolveAs<RukDevice>(getWord(object, DEVICE_NATIVE_DEVICE), NativeKind::Device);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->descriptor.depth, 8u);
  ASSERT_EQ(device->colorModel.paletteSize, 3u);
  EXPECT_EQ(device->colorModel.palette[0], 0xFF0000u);
  EXPECT_EQ(device->colorModel.palette[1], 0x00FF00u);
  EXPECT_EQ(device->colorModel.palette[2], 0x010203u);
}

TEST(Devices, EmptyPaletteNeedsNoArraysAndEarlierDevicesStay) {
  const JHandle object = newDeviceObject();
  callDevice("initIndexed", {object, 0, 0u, 0u, 0u});
  const uint32_t first = getWord(object, DEVICE_NATIVE_DEVICE);
  callDevice("initDirect", {object, 0xFF0000, 0xFF00, 0xFF});
  const uint32_t second = getWord(object, DEVICE_NATIVE_DEVICE);
  EXPECT_NE(first, second);
  ASSERT_NE(nativeRefResolve(first, NativeKind::Device), nullptr);
  EXPECT_EQ(nativeRefResolveAs<RukDevice>(first, NativeKind::Device)->colorModel.paletteSize, 0u);
  EXPECT_NE(nativeRefResolve(second, NativeKind::Device), nullptr);
}

// --- Models ------------------------------------------------------------------

TEST(Models, FailuresGiveFalseBeforeAnyWorkerRuns) {
  const JHandle model = newModelObject();
  EXPECT_EQ(callModel("generateFaceNormals", {model}).slot0, 0u);
  EXPECT_EQ(callModel("generateVertexNormals", {model, 0.5f}).slot0, 0u);

  setInt(model, MODEL_VERTEX_COUNT, -3);
  setHandle(model, MODEL_VERTICES, newFloatArray(9));
  EXPECT_EQ(callModel("init", {model}).slot0, 0u);
  setInt(model, MODEL_VERTEX_COUNT, 3);
  setHandle(model, MODEL_VERTICES, 0);
  EXPECT_EQ(callModel("init", {model}).slot0, 0u);
  EXPECT_EQ(getWord(model, MODEL_NATIVE_MODEL), 0u);

  RegisteredModel triangles;
  triangles.record.type = MODEL_TRIANGLES;
  triangles.record.primitiveCount = 2;
  EXPECT_EQ(callModel("generateFaceNormals", {triangles.object}).slot0, 0u);
  EXPECT_EQ(callModel("generateVertexNormals", {triangles.object, 0.5f}).slot0, 0u);
}

TEST(Models, InitCopiesTheJavaFieldsAndDisposeRevokes) {
  const JHandle model = newModelObject();
  setInt(model, MODEL_PRIMITIVE_KIND, 0);
  setInt(model, MODEL_PRIMITIVE_COUNT, 1);
  setInt(model, MODEL_VERTEX_COUNT, 3);
  setInt(model, MODEL_COLOR_BINDING, 2);
  setHandle(model, MODEL_VERTICES, newFloatArray({-1, 0, 0, 1, 2, 0, 0, 0, 4}));
  EXPECT_EQ(callModel("init", {model}).slot0, 1u);
  const uint32_t reference = getWord(model, MODEL_NATIVE_MODEL);
  const auto* record = nativeRefResolveAs<RukModel>(reference, NativeKind::Model);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->type, MODEL_TRIANGLES);
  EXPECT_EQ(record->primitiveCount, 1u);
  EXPECT_EQ(record->vertexCount, 3u);
  EXPECT_EQ(record->colorBinding, BINDING_PER_CORNER);
  EXPECT_EQ(record->boundsCentre[1], 1.0f);
  callModel("dispose", {model});
  EXPECT_EQ(nativeRefResolve(reference, NativeKind::Model), nullptr);
  EXPECT_EQ(getWord(model, MODEL_NATIVE_MODEL), reference) << "dispose leaves the field";
}

// Normals are generated only while the object's counts are those the model
// was made with (its arrays are as large as the counts it declares now);
// copying back with a negative count writes nothing and keeps the normals.
TEST(Models, NormalsFollowTheCountsTheArraysDeclare) {
  const JHandle model = newModelObject();
  setInt(model, MODEL_PRIMITIVE_COUNT, 2);
  setInt(model, MODEL_VERTEX_COUNT, 4);
  setHandle(model, MODEL_VERTICES, newFloatArray({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
  setHandle(model, MODEL_VERTEX_INDICES, newIntArray({0, 1, 2, 0, 2, 3}));
  setHandle(model, MODEL_FACE_NORMALS, newFloatArray(6));
  ASSERT_EQ(callModel("init", {model}).slot0, 1u);

  setInt(model, MODEL_PRIMITIVE_COUNT, 1);
  setHandle(model, MODEL_VERTEX_INDICES, newIntArray({0, 1, 2}));
  setHandle(model, MODEL_FACE_NORMALS, newFloatArray(3));
  EXPECT_EQ(callModel("generateFaceNormals", {model}).slot0, 0u);
  setInt(model, MODEL_PRIMITIVE_COUNT, 2);
  setInt(model, MODEL_PRIMITIVE_KIND, 2);  // points: one index per primitive
  EXPECT_EQ(callModel("generateFaceNormals", {model}).slot0, 0u);
  setInt(model, MODEL_PRIMITIVE_KIND, 0);
  setHandle(model, MODEL_VERTEX_INDICES, newIntArray({0, 1, 2, 0, 2, 3}));
  setHandle(model, MODEL_FACE_NORMALS, newFloatArray(6));
  EXPECT_EQ(callModel("generateFaceNormals", {model}).slot0, 1u);
  setInt(model, MODEL_VERTEX_COUNT, 3);
  EXPECT_EQ(callModel("generateVertexNormals", {model, 0.5f}).slot0, 0u);
  setInt(model, MODEL_VERTEX_COUNT, 4);
  ASSERT_EQ(callModel("generateVertexNormals", {model, 0.5f}).slot0, 1u);
  ASSERT_EQ(getInt(model, MODEL_NORMAL_COUNT), 4);

  // Arrays for no normals, with an array right after them that must stay.
  setInt(model, MODEL_NORMAL_COUNT, -1);
  setHandle(model, MODEL_NORMALS, newFloatArray(0));
  setHandle(model, MODEL_NORMAL_INDICES, newIntArray(0));
  const JHandle after = newIntArray({7, 7, 7, 7});
  callModel("copyVertexNormals", {model});
  for (int32_t word : intSpan(after)) EXPECT_EQ(word, 7);

  setInt(model, MODEL_NORMAL_COUNT, 4);
  const JHandle normals = newFloatArray(12), indices = newIntArray(6);
  setHandle(model, MODEL_NORMALS, normals);
  setHandle(model, MODEL_NORMAL_INDICES, indices);
  callModel("copyVertexNormals", {model});
  EXPECT_EQ(floatSpan(normals)[2], 1.0f) << "the normals waited for this copy";
  EXPECT_EQ(intSpan(indices)[5], 3);
  callModel("dispose", {model});
}

// --- Picking -----------------------------------------------------------------

// The unit triangle (0,0,0), (1,0,0), (0,1,0) facing +z, with a result object
// whose outputs hold sentinels.
struct PickScene {
  RegisteredContext context;
  RegisteredModel model;
  JHandle ray = newObject(2);
  JHandle result = newObject(5);
  JHandle point = newVector3(-9, -9, -9);
  JHandle normal = newVector3(-9, -9, -9);
  JHandle uv = newObject(2);
  PickScene() {
    model.record.type = MODEL_TRIANGLES;
    model.record.boundsCentre[0] = model.record.boundsCentre[1] = 0.5f;
    model.record.boundsHalf[0] = model.record.boundsHalf[1] = 0.5f;
    setInt(model.object, MODEL_PRIMITIVE_COUNT, 1);
    setInt(model.object, MODEL_VERTEX_COUNT, 3);
    setHandle(model.object, MODEL_VERTICES, newFloatArray({0, 0, 0, 1, 0, 0, 0, 1, 0}));
    setHandle(model.object, MODEL_VERTEX_INDICES, newIntArray({0, 1, 2}));
    setHandle(model.object, MODEL_FACE_NORMALS, newFloatArray({0, 0, 1}));
    setHandle(ray, RAY_ORIGIN, newVector3(0.25f, 0.25f, 5));
    setHandle(ray, RAY_DIRECTION, newVector3(0, 0, -1));
    setFloat(result, PICK_RESULT_DISTANCE, 100.0f);
    setHandle(result, PICK_RESULT_POINT, point);
    setHandle(result, PICK_RESULT_NORMAL, normal);
    setHandle(result, PICK_RESULT_TEXCOORDS, uv);
    setFloat(uv, 0, -9);
    setFloat(uv, 1, -9);
  }
  bool pick(int32_t request) {
    setInt(result, PICK_RESULT_REQUEST, request);
    return callGraphics3D("doRayPick", {context.graphics, model.object, ray, result}).boolean();
  }
};

TEST(Picking, HitWritesTheDistanceAndTheRequestedOutputs) {
  PickScene scene;
  EXPECT_TRUE(scene.pick(1 | 2));
  EXPECT_EQ(getFloat(scene.result, PICK_RESULT_DISTANCE), 5.0f);
  EXPECT_EQ(getFloat(scene.point, 0), 0.25f);
  EXPECT_EQ(getFloat(scene.point, 1), 0.25f);
  EXPECT_EQ(getFloat(scene.point, 2), 0.0f);
  EXPECT_EQ(getFloat(scene.normal, 2), 1.0f);
  EXPECT_EQ(getFloat(scene.uv, 0), -9.0f) << "texture coordinates were not requested";
}

TEST(Picking, TextureCoordinatesAloneLeaveThePointAndNormal) {
  PickScene scene;
  EXPECT_TRUE(scene.pick(4));
  EXPECT_EQ(getFloat(scene.uv, 0), 0.0f) << "no texture-coordinate binding gives 0, 0";
  EXPECT_EQ(getFloat(scene.uv, 1), 0.0f);
  EXPECT_EQ(getFloat(scene.point, 0), -9.0f);
  EXPECT_EQ(getFloat(scene.normal, 0), -9.0f);
}

TEST(Picking, MissLeavesTheResultUntouched) {
  PickScene scene;
  setHandle(scene.ray, RAY_ORIGIN, newVector3(0.25f, 0.25f, -5));
  setHandle(scene.ray, RAY_DIRECTION, newVector3(0, 0, 1));  // meets the back side
  EXPECT_FALSE(scene.pick(7));
  EXPECT_EQ(getFloat(scene.result, PICK_RESULT_DISTANCE), 100.0f);
  EXPECT_EQ(getFloat(scene.point, 0), -9.0f);
}

// --- Matrices, projection, material and lights ---------------------------------

TEST(ModelMatrix, LoadAndGetCopyAllSeventeenWords) {
  RegisteredContext context;
  const JHandle in = newObject(17);
  for (int i = 0; i < 16; ++i) setFloat(in, i, float(i) - 7.5f);
  setWord(in, 16, 0);
  callGraphics3D("loadModelMatrix", {context.graphics, in});
  const JHandle out = newObject(17);
  callGraphics3D("doGetModelMatrix", {context.graphics, out});
  for (int i = 0; i < 17; ++i) EXPECT_EQ(getWord(out, i), getWord(in, i)) << "word " << i;
}

TEST(ModelMatrix, RotationTakesTheAxisThenTheAngle) {
  RegisteredContext context;
  matrixIdentity(&context.record->modelStack[0]);
  callGraphics3D("doRotateModel", {context.graphics, 0.0f, 0.0f, 1.0f, 0.5f});
  Matrix4 expected;
  matrixRotate2(&context.record->modelStack[0], &expected, 0, 0, 1, 0.5f);
  const JHandle out = newObject(17);
  callGraphics3D("doGetModelMatrix", {context.graphics, out});
  for (int i = 0; i < 16; ++i) EXPECT_EQ(getFloat(out, i), expected.m[i]) << "element " << i;
}

TEST(Projection, ArgumentsArriveInOrder) {
  RegisteredContext context;
  callGraphics3D("doSetOrthographicProjection", {context.graphics, 2.0f, 3.0f, 4.0f, 5.0f});
  EXPECT_EQ(context.record->xLimit, 2.0f);
  EXPECT_EQ(context.record->yLimit, 3.0f);
  EXPECT_EQ(context.record->nearZ, 4.0f);
  EXPECT_EQ(context.record->farZ, 5.0f);
  EXPECT_EQ(context.record->perspective, 0u);
  callGraphics3D("doSetPerspectiveProjection", {context.graphics, 1.0f, 2.0f, 0.5f, 50.0f});
  EXPECT_EQ(context.record->yLimit, float(std::tan(0.5)));
  EXPECT_EQ(context.record->xLimit, float(std::tan(0.5)) * 2.0f);
  EXPECT_EQ(context.record->nearZ, 0.5f);
  EXPECT_EQ(context.record->farZ, 50.0f);
}

TEST(Material, ColoursAreMaskedTo24Bits) {
  RegisteredContext context;
  const JHandle material = newObject(6);
  setWord(material, MATERIAL_EMISSION, 0xFF010203);
  setWord(material, MATERIAL_AMBIENT, 0x80040506);
  setWord(material, MATERIAL_DIFFUSE, 0x01070809);
  setWord(material, MATERIAL_SPECULAR, 0x7F0A0B0C);
  setFloat(material, MATERIAL_SHININESS, 12.5f);
  setInt(material, MATERIAL_ALPHA, 254);
  callGraphics3D("setMaterial", {context.graphics, material});
  const RukMaterial& m = context.record->material;
  EXPECT_EQ(m.emission, 0x010203u);
  EXPECT_EQ(m.ambient, 0x040506u);
  EXPECT_EQ(m.diffuse, 0x070809u);
  EXPECT_EQ(m.specular, 0x0A0B0Cu);
  EXPECT_EQ(m.shininess, 12.5f);
  EXPECT_EQ(m.alpha, 254u);
}

TEST(Lights, AttenuationRangeAndConeReachTheLight) {
  RegisteredContext context;
  matrixIdentity(&context.record->modelStack[0]);
  const JHandle light = newObject(11);
  setWord(light, LIGHT_COLOR, 0x102030);
  setWord(light, LIGHT_AMBIENT, 0);
  setHandle(light, LIGHT_POSITION, newVector3(1, 2, 3));
  setFloat(light, LIGHT_QUADRATIC, 0.25f);
  setFloat(light, LIGHT_LINEAR, 0.5f);
  setFloat(light, LIGHT_CONSTANT, 2.0f);
  setFloat(light, LIGHT_RANGE, 4.0f);
  setHandle(light, LIGHT_DIRECTION, newVector3(0, 0, -1));
  setFloat(light, LIGHT_COS_OUTER, 0.5f);
  setFloat(light, LIGHT_COS_INNER, 0.75f);
  callGraphics3D("pushPointLight", {context.graphics, light});
  callGraphics3D("pushSpotLight", {context.graphics, light});
  ASSERT_EQ(context.record->lightCount, 2u);
  for (const RukLight& l : {context.record->lights[0], context.record->lights[1]}) {
    EXPECT_EQ(l.color, 0x102030u);
    EXPECT_EQ(l.quadratic, 0.25f);
    EXPECT_EQ(l.linear, 0.5f);
    EXPECT_EQ(l.constant, 2.0f);
    EXPECT_EQ(l.rangeSquared, 16.0f);
    EXPECT_EQ(l.position[2], 3.0f);
  }
  EXPECT_EQ(context.record->lights[1].cosOuter, 0.5f);
  EXPECT_EQ(context.record->lights[1].cosInner, 0.75f);
  EXPECT_EQ(context.record->lights[1].direction[2], -1.0f);
}

// --- Textures ------------------------------------------------------------------

TEST(Textures, OnlyACompleteTextureIsBound) {
  RegisteredContext context;
  uint32_t texels[4] = {1, 2, 3, 4};
  RukTexture record{2, 2, 1, 1, texels};
  const uint32_t reference = nativeRefIssue(NativeKind::Texture, &record);
  const JHandle texture = newTextureObject();
  setWord(texture, TEXTURE_NATIVE_TEXTURE, reference);
  callGraphics3D("doUseTexture", {context.graphics, texture});
  EXPECT_EQ(context.record->boundTexture.texels, nullptr) << "complete is 0";
  setInt(texture, TEXTURE_COMPLETE, 1);
  callGraphics3D("doUseTexture", {context.graphics, texture});
  EXPECT_EQ(context.record->boundTexture.texels, texels);
  EXPECT_EQ(context.record->boundTexture.width, 2u);
  callGraphics3D("doUseTexture", {context.graphics, 0u});
  EXPECT_EQ(context.record->boundTexture.texels, nullptr);
  nativeRefRevoke(reference, NativeKind::Texture);
}

TEST(Textures, InitConvertAndDispose) {
  const JHandle device = newDeviceObject();
  callDevice("initDirect", {device, 0xFF0000, 0xFF00, 0xFF});
  const JHandle texture = newTextureObject(device);
  callTexture("init", {texture, 4, 4});
  const uint32_t reference = getWord(texture, TEXTURE_NATIVE_TEXTURE);
  const auto* record = nativeRefResolveAs<RukTexture>(reference, NativeKind::Texture);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->width, 4u);
  // Element `offset` of the pixel array is the first source pixel.
  callTexture("convertRect32", {texture, 0, 0, 1, 1, 0xFF0000, 0xFF00, 0xFF, int32_t(0xFF000000),
                                newIntArray({0, 0, int32_t(0x80102030)}), 2, 1});
  EXPECT_EQ(record->texels[12], 0x80102030u);
  // A negative palette size names no entry: no palette is needed or read.
  callTexture("convertRect8", {texture, 0, 3, 1, 1, 0u, -1, newByteArray(1), 0, 1});
  EXPECT_EQ(record->texels[0], 0xFFFFFFFFu);
  callTexture("dispose", {texture});
  EXPECT_EQ(getWord(texture, TEXTURE_NATIVE_TEXTURE), 0u);
  EXPECT_EQ(nativeRefResolve(reference, NativeKind::Texture), nullptr);
}

// --- Buffers -------------------------------------------------------------------

TEST(Buffers, AccumulationNativesPassTheirOperations) {
  BufferContext context;
  context.accum[0] = 1;
  callGraphics3D("accumulate", {context.graphics, 1.0f});  // adds
  EXPECT_EQ(context.accum[0], (1023u << 20) + 1);
  callGraphics3D("accumLoad", {context.graphics, 1.0f});  // replaces
  EXPECT_EQ(context.accum[0], 1023u << 20);
  EXPECT_EQ(context.accum[1], 1023u);
  callGraphics3D("accumMult", {context.graphics, 0.0f});  // scales to nothing
  EXPECT_EQ(context.accum[0], 0u);
  context.accum[0] = 1023u << 10;
  callGraphics3D("accumReturn", {context.graphics, 1.0f});  // writes back
  EXPECT_EQ(context.colour[0], 0x00FF00u);
}

TEST(Buffers, CopyGoesFromTheOtherContextIntoThisOne) {
  BufferContext source, destination;
  source.depth[0] = 11;
  source.depth[1] = 12;
  callGraphics3D("doCopyBuffers", {destination.graphics, source.graphics, 2});
  EXPECT_EQ(destination.depth[0], 11);
  EXPECT_EQ(destination.depth[1], 12);
  EXPECT_EQ(destination.colour[0], 0xFF0000u) << "colour was not in the mask";
}

TEST(Buffers, ClearPassesTheMask) {
  BufferContext context;
  context.accum[0] = context.accum[1] = 77;
  callGraphics3D("clear", {context.graphics, 8});
  EXPECT_EQ(context.accum[0], 0u);
  EXPECT_EQ(context.accum[1], 0u);
  EXPECT_EQ(context.colour[1], 0x0000FFu);
}

// --- A whole context -------------------------------------------------------------

JHandle newScreenDevice() {
  const JHandle device = newDeviceObject();
  callDevice("initDirect", {device, 0xFF0000, 0xFF00, 0xFF});
  return device;
}

TEST(Lifecycle, InitAllocatesTheRequestedBuffersAndDisposeRevokes) {
  displayReset();
  struct Flags {
    int32_t init;
    uint32_t bufferFlags;
  };
  for (Flags flags : {Flags{6, 1 | 2 | 8}, Flags{2, 1 | 2}, Flags{4, 1 | 8}, Flags{0, 1}, Flags{1 | 8, 1}}) {
    const JHandle graphics = newGraphics3DObject(newScreenDevice());
    // Memory the buffers may be given holds other data first.
    static void* volatile previous;
    previous = std::malloc(16 * 8 * 4);
    std::memset(previous, 0x5A, 16 * 8 * 4);
    std::free(previous);
    const StubResult result = callGraphics3D("init", {graphics, flags.init, 16, 8});
    EXPECT_EQ(result.advanced, 1);
    ASSERT_EQ(result.slot0, 1u);
    const uint32_t reference = getWord(graphics, GRAPHICS3D_CONTEXT);
    const auto* context = nativeRefResolveAs<RukContext>(reference, NativeKind::Context);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->bufferFlags, flags.bufferFlags) << "init flags " << flags.init;
    EXPECT_EQ(context->width, 16u);
    // A new depth buffer holds the farthest depth, a new accumulation buffer zero.
    for (uint32_t i = 0; i < 16 * 8; ++i) {
      if (context->depthBuffer != nullptr) {
        ASSERT_EQ(context->depthBuffer[i], INT32_MAX) << "depth " << i;
      }
      if (context->accumBuffer != nullptr) {
        ASSERT_EQ(context->accumBuffer[i], 0u) << "accumulation " << i;
      }
    }
    callGraphics3D("beginRendering", {graphics});
    callGraphics3D("dispose", {graphics});
    EXPECT_EQ(nativeRefResolve(reference, NativeKind::Context), nullptr);
    EXPECT_EQ(getWord(graphics, GRAPHICS3D_CONTEXT), reference) << "dispose leaves the field";
  }
}

TEST(Lifecycle, ZeroSizeGivesFalseAndNoContext) {
  displayReset();
  const JHandle graphics = newGraphics3DObject(newScreenDevice());
  EXPECT_EQ(callGraphics3D("init", {graphics, 6, 0, 8}).slot0, 0u);
  EXPECT_EQ(getWord(graphics, GRAPHICS3D_CONTEXT), 0u);
}

TEST(Lifecycle, PaintCopiesIntoTheToolkitSurfaceOrTheWindow) {
  displayReset();
  const JHandle graphics = newGraphics3DObject(newScreenDevice());
  ASSERT_TRUE(callGraphics3D("init", {graphics, 0, 4, 2}).boolean());
  callGraphics3D("doSetClearColor", {graphics, 0x123456});
  callGraphics3D("clear", {graphics, 1});

  // The toolkit's graphics record: its first word is the device context.
  const HDC surface = displayCreateSurface(8, 8);
  auto* record = static_cast<uint32_t*>(heapAllocate(8));
  record[0] = surface;
  const JHandle toolkitGraphics = newObject(1);
  setWord(toolkitGraphics, GRAPHICS_NATIVE_RECORD, address32(record));
  callGraphics3D("doPaint", {graphics, toolkitGraphics, 2, 3});
  EXPECT_EQ(displaySurfacePixel(surface, 2, 3), 0x123456u);
  EXPECT_EQ(displaySurfacePixel(surface, 5, 4), 0x123456u);
  EXPECT_EQ(displaySurfacePixel(surface, 6, 4), 0u);

  // A window named by the object takes precedence.
  const HWND window = displayCreateWindow(8, 8);
  setWord(graphics, GRAPHICS3D_WINDOW, window);
  callGraphics3D("doPaint", {graphics, toolkitGraphics, 0, 0});
  EXPECT_EQ(displayWindowPixel(window, 0, 0), 0x123456u);
  EXPECT_EQ(displaySurfacePixel(surface, 0, 0), 0u);
  callGraphics3D("dispose", {graphics});
}

}  // namespace
