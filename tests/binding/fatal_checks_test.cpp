// Every failed check of a native ends the process with one line
// "<lead> ..\..\..\src\share\kel\ruk\<file>:<line>" on standard output and
// exit status -1; the line is that of the check in the native's source, so
// two checks of one native report two lines, in the order they are made.
#include <functional>

#include "binding_harness.h"
#include "texture/texture.h"

using namespace kelhost;
using namespace bindingtest;

namespace {

constexpr const char* GRAPHICS3D_FILE = "kel_ruk_KELRendGraphics3D.cpp";
constexpr const char* TEXTURE_FILE = "kel_ruk_KELRendTexture.cpp";
constexpr const char* DEVICE_FILE = "kel_ruk_KELRend3DDevice.cpp";
constexpr const char* MODEL_FILE = "kel_ruk_KELRendModel.cpp";

// The objects a case may use: a context of our own, a ready model of our
// own, and a ray and pick result that are complete.
struct Scene {
  RegisteredContext context;
  RegisteredModel model;
  JHandle ray = newObject(2);
  JHandle result = newObject(5);
  JHandle light = newObject(11);
  Scene() {
    setHandle(ray, RAY_ORIGIN, newVector3(0, 0, 5));
    setHandle(ray, RAY_DIRECTION, newVector3(0, 0, -1));
    setHandle(light, LIGHT_POSITION, newVector3(0, 0, 1));
  }
};

struct FatalCase {
  const char* name;
  std::string lead;
  const char* file;
  std::string check;  // the check that fails, as the native writes it
  std::function<void(Scene&)> call;
};
void PrintTo(const FatalCase& c, std::ostream* os) { *os << c.name; }

class FatalChecks : public testing::TestWithParam<FatalCase> {};

TEST_P(FatalChecks, ReportTheLeadAndTheNativesSource) {
  const FatalCase& c = GetParam();
  Scene scene;
  EXPECT_FATAL_REPORT(c.call(scene), c.lead, c.file);
}

const std::string NULL_ARGUMENT = "kelruk: null argument at";

std::vector<FatalCase> nullArgumentCases() {
  auto g = [](const char* method, const char* token, std::function<void(Scene&)> call) {
    return FatalCase{method, NULL_ARGUMENT, GRAPHICS3D_FILE, token, std::move(call)};
  };
  return {
      g("doPaint", "requireArgument(graphics)",
        [](Scene& s) {
          callGraphics3D("doPaint", {s.context.graphics, 0u, 0, 0});
        }),
      g("doRender", "requireArgument(model)",
        [](Scene& s) {
          callGraphics3D("doRender", {s.context.graphics, 0u});
        }),
      g("doRayPick", "requireArgument(model)",
        [](Scene& s) {
          callGraphics3D("doRayPick", {s.context.graphics, 0u, s.ray, s.result});
        }),
      g("doRayPick", "requireArgument(ray)",
        [](Scene& s) {
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, 0u, s.result});
        }),
      g("doRayPick", "requireArgument(result)",
        [](Scene& s) {
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, 0u});
        }),
      g("doRayPick", "requireArgument(rayFields[RAY_ORIGIN])",
        [](Scene& s) {
          setHandle(s.ray, RAY_ORIGIN, 0);
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, s.result});
        }),
      g("doRayPick", "requireArgument(rayFields[RAY_DIRECTION])",
        [](Scene& s) {
          setHandle(s.ray, RAY_DIRECTION, 0);
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, s.result});
        }),
      g("doRayPick", "requireArgument(out[PICK_RESULT_POINT])",
        [](Scene& s) {
          setInt(s.result, PICK_RESULT_REQUEST, 1);
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, s.result});
        }),
      g("doRayPick", "requireArgument(out[PICK_RESULT_NORMAL])",
        [](Scene& s) {
          setInt(s.result, PICK_RESULT_REQUEST, 2);
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, s.result});
        }),
      g("doRayPick", "requireArgument(out[PICK_RESULT_TEXCOORDS])",
        [](Scene& s) {
          setInt(s.result, PICK_RESULT_REQUEST, 4);
          callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, s.result});
        }),
      g("concatModelMatrix", "requireArgument(m)",
        [](Scene& s) {
          callGraphics3D("concatModelMatrix", {s.context.graphics, 0u});
        }),
      g("loadModelMatrix", "requireArgument(m)",
        [](Scene& s) {
          callGraphics3D("loadModelMatrix", {s.context.graphics, 0u});
        }),
      g("doQuatRotateModel", "requireArgument(q)",
        [](Scene& s) {
          callGraphics3D("doQuatRotateModel", {s.context.graphics, 0u});
        }),
      g("doGetModelMatrix", "requireArgument(out)",
        [](Scene& s) {
          callGraphics3D("doGetModelMatrix", {s.context.graphics, 0u});
        }),
      g("loadTextureMatrix", "requireArgument(m)",
        [](Scene& s) {
          callGraphics3D("loadTextureMatrix", {s.context.graphics, 0u});
        }),
      g("doGetTextureMatrix", "requireArgument(out)",
        [](Scene& s) {
          callGraphics3D("doGetTextureMatrix", {s.context.graphics, 0u});
        }),
      g("setMaterial", "requireArgument(material)",
        [](Scene& s) {
          callGraphics3D("setMaterial", {s.context.graphics, 0u});
        }),
      g("pushDirectionalLight", "requireArgument(light)",
        [](Scene& s) {
          callGraphics3D("pushDirectionalLight", {s.context.graphics, 0u});
        }),
      g("pushPointLight", "requireArgument(light)",
        [](Scene& s) {
          callGraphics3D("pushPointLight", {s.context.graphics, 0u});
        }),
      g("pushSpotLight", "requireArgument(light)",
        [](Scene& s) {
          callGraphics3D("pushSpotLight", {s.context.graphics, 0u});
        }),
      g("pushDirectionalLight", "requireArgument(l[LIGHT_POSITION])",
        [](Scene& s) {
          setHandle(s.light, LIGHT_POSITION, 0);
          callGraphics3D("pushDirectionalLight", {s.context.graphics, s.light});
        }),
      g("pushPointLight", "requireArgument(l[LIGHT_POSITION])",
        [](Scene& s) {
          setHandle(s.light, LIGHT_POSITION, 0);
          callGraphics3D("pushPointLight", {s.context.graphics, s.light});
        }),
      g("pushSpotLight", "requireArgument(l[LIGHT_POSITION])",
        [](Scene& s) {
          setHandle(s.light, LIGHT_POSITION, 0);
          callGraphics3D("pushSpotLight", {s.context.graphics, s.light});
        }),
      g("pushSpotLight", "requireArgument(l[LIGHT_DIRECTION])",
        [](Scene& s) {
          callGraphics3D("pushSpotLight", {s.context.graphics, s.light});
        }),
      g("doCopyBuffers", "requireArgument(other)",
        [](Scene& s) {
          callGraphics3D("doCopyBuffers", {s.context.graphics, 0u, 1});
        }),
      g("init", "requireArgument(fields[GRAPHICS3D_DEVICE])",
        [](Scene&) {
          callGraphics3D("init", {newGraphics3DObject(0), 0, 4, 4});
        }),
      FatalCase{"getDeviceClass", NULL_ARGUMENT, "kel_ruk_Graphics3DDevice.cpp", "requireArgument(name)",
                [](Scene&) { callStub("Java_kel_ruk_Graphics3DDevice_getDeviceClass_stub", {0u}); }},
  };
}
INSTANTIATE_TEST_SUITE_P(NullArguments, FatalChecks, testing::ValuesIn(nullArgumentCases()), [](const auto& info) {
  return std::string(info.param.name) + "_" + std::to_string(info.index);
});

// The line is the failing check's own: the checks of doRayPick and of
// pushSpotLight, made one after the other, report rising lines.
TEST(FatalCheckLines, EachCheckOfANativeReportsItsOwnLine) {
  for (const std::string method : {"doRayPick", "pushSpotLight"}) {
    int previous = 0;
    int checks = 0;
    for (const FatalCase& c : nullArgumentCases()) {
      if (c.name != method) continue;
      Scene scene;
      const int line = fatalReportLine([&] { c.call(scene); }, c.lead, c.file);
      EXPECT_GT(line, previous) << method << ": " << c.check;
      previous = line;
      ++checks;
    }
    EXPECT_EQ(checks, method == "doRayPick" ? 8 : 3);
  }
}

std::vector<FatalCase> rangeCases() {
  auto r = [](const char* method, int32_t value) {
    return FatalCase{method, "kelruk: value " + std::to_string(value) + " out of range at", GRAPHICS3D_FILE,
                     "requireBelow(", [method, value](Scene& s) {
                       callGraphics3D(method, {s.context.graphics, value});
                     }};
  };
  return {r("setModifiedMaterialColor", 4),
          r("setModifiedMaterialColor", -1),
          r("enableFeature", 8),
          r("enableFeature", -1),
          r("disableFeature", 8),
          r("disableFeature", INT32_MIN),
          r("setModelRenderMode", 3),
          r("setModelRenderMode", -1),
          r("setShadeMode", 3),
          r("setShadeMode", -7),
          r("setTextureBlendMode", 3),
          r("setTextureBlendMode", -1),
          r("setTextureFilter", 6),
          r("setTextureFilter", -1)};
}
INSTANTIATE_TEST_SUITE_P(Ranges, FatalChecks, testing::ValuesIn(rangeCases()), [](const auto& info) {
  return std::string(info.param.name) + "_" + std::to_string(info.index);
});

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", value);
  return text;
}

// A reference that was issued and then revoked.
uint32_t revokedReference(NativeKind kind) {
  static int record;
  const uint32_t reference = nativeRefIssue(kind, &record);
  nativeRefRevoke(reference, kind);
  return reference;
}

std::vector<FatalCase> referenceCases() {
  static const uint32_t staleContext = revokedReference(NativeKind::Context);
  static const uint32_t staleModel = revokedReference(NativeKind::Model);
  static const uint32_t staleTexture = revokedReference(NativeKind::Texture);
  static const uint32_t staleDevice = revokedReference(NativeKind::Device);
  static int modelRecord;
  static const uint32_t liveModel = nativeRefIssue(NativeKind::Model, &modelRecord);
  auto onContextField = [](uint32_t reference) {
    return [reference](Scene& s) {
      setWord(s.context.graphics, GRAPHICS3D_CONTEXT, reference);
      callGraphics3D("beginRendering", {s.context.graphics});
    };
  };
  return {
      FatalCase{"noContext", "kelruk: no native context at", GRAPHICS3D_FILE, "contextOf(self)", onContextField(0)},
      FatalCase{"forgedContext", "kelruk: stale or forged context reference 0x00012345 at", GRAPHICS3D_FILE,
                "contextOf(self)", onContextField(0x12345)},
      FatalCase{"staleContext", "kelruk: stale or forged context reference " + hex(staleContext) + " at",
                GRAPHICS3D_FILE, "contextOf(self)", onContextField(staleContext)},
      FatalCase{"contextOfAnotherKind", "kelruk: stale or forged context reference " + hex(liveModel) + " at",
                GRAPHICS3D_FILE, "contextOf(self)", onContextField(liveModel)},
      FatalCase{"staleContextDisposed", "kelruk: stale or forged context reference " + hex(staleContext) + " at",
                GRAPHICS3D_FILE, "requireRecord<RukContext>",
                [](Scene& s) {
                  setWord(s.context.graphics, GRAPHICS3D_CONTEXT, staleContext);
                  callGraphics3D("dispose", {s.context.graphics});
                }},
      FatalCase{"copyFromNoContext", "kelruk: no native context at", GRAPHICS3D_FILE, "contextOf(other)",
                [](Scene& s) {
                  callGraphics3D("doCopyBuffers", {s.context.graphics, newGraphics3DObject(), 1});
                }},
      FatalCase{"renderStaleModel", "kelruk: stale or forged model reference " + hex(staleModel) + " at",
                GRAPHICS3D_FILE, "requireRecord<RukModel>",
                [](Scene& s) {
                  setWord(s.model.object, MODEL_NATIVE_MODEL, staleModel);
                  callGraphics3D("doRender", {s.context.graphics, s.model.object});
                }},
      FatalCase{"renderReadyModelWithoutRecord", "kelruk: no native model at", GRAPHICS3D_FILE,
                "requireRecord<RukModel>",
                [](Scene& s) {
                  setWord(s.model.object, MODEL_NATIVE_MODEL, 0);
                  callGraphics3D("doRender", {s.context.graphics, s.model.object});
                }},
      FatalCase{"bindStaleTexture", "kelruk: stale or forged texture reference " + hex(staleTexture) + " at",
                GRAPHICS3D_FILE, "optionalRecord<RukTexture>",
                [](Scene& s) {
                  const JHandle texture = newTextureObject();
                  setInt(texture, TEXTURE_COMPLETE, 1);
                  setWord(texture, TEXTURE_NATIVE_TEXTURE, staleTexture);
                  callGraphics3D("doUseTexture", {s.context.graphics, texture});
                }},
      FatalCase{"initWithStaleDevice", "kelruk: stale or forged device reference " + hex(staleDevice) + " at",
                GRAPHICS3D_FILE, "optionalRecord<RukDevice>",
                [](Scene&) {
                  callGraphics3D("init", {newGraphics3DObject(newDeviceObject(staleDevice)), 0, 4, 4});
                }},
  };
}
INSTANTIATE_TEST_SUITE_P(References, FatalChecks, testing::ValuesIn(referenceCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A ready model whose arrays do not match its counts and bindings.
std::vector<FatalCase> modelShapeCases() {
  auto m = [](const char* name, const char* lead, std::function<void(Scene&)> shape) {
    return FatalCase{name, lead, GRAPHICS3D_FILE, lead, [shape](Scene& s) {
                       setInt(s.model.object, MODEL_PRIMITIVE_COUNT, 1);
                       setInt(s.model.object, MODEL_VERTEX_COUNT, 3);
                       setHandle(s.model.object, MODEL_VERTICES, newFloatArray(9));
                       setHandle(s.model.object, MODEL_VERTEX_INDICES, newIntArray({0, 1, 2}));
                       shape(s);
                       callGraphics3D("doRender", {s.context.graphics, s.model.object});
                     }};
  };
  return {
      m("negativeCount", "kelruk: negative model count at",
        [](Scene& s) { setInt(s.model.object, MODEL_PRIMITIVE_COUNT, -1); }),
      m("noVertices", "kelruk: model without vertices at",
        [](Scene& s) { setHandle(s.model.object, MODEL_VERTICES, 0); }),
      m("noVertexIndices", "kelruk: model without vertex indices at",
        [](Scene& s) { setHandle(s.model.object, MODEL_VERTEX_INDICES, 0); }),
      m("noColours", "kelruk: model without its colours at",
        [](Scene& s) { s.model.record.colorBinding = BINDING_PER_CORNER; }),
      m("noNormalIndices", "kelruk: model without normal indices at",
        [](Scene& s) { setHandle(s.model.object, MODEL_NORMALS, newFloatArray(3)); }),
      m("noTexCoordIndices", "kelruk: model without texture-coordinate indices at",
        [](Scene& s) { setHandle(s.model.object, MODEL_TEXCOORDS, newFloatArray(2)); }),
      // Triangles whose object now says points has arrays of one index per
      // primitive; colours per corner where it now says one per primitive.
      m("kindChangedSinceInit", "kelruk: model kind or colour binding changed since init at",
        [](Scene& s) {
          s.model.record.type = MODEL_TRIANGLES;
          setInt(s.model.object, MODEL_PRIMITIVE_KIND, 2);
          setHandle(s.model.object, MODEL_VERTEX_INDICES, newIntArray({0}));
        }),
      m("colourBindingChangedSinceInit", "kelruk: model kind or colour binding changed since init at",
        [](Scene& s) {
          s.model.record.type = MODEL_TRIANGLES;
          s.model.record.colorBinding = BINDING_PER_CORNER;
          setInt(s.model.object, MODEL_COLOR_BINDING, 1);
          setHandle(s.model.object, MODEL_COLORS, newIntArray(1));
        }),
  };
}
INSTANTIATE_TEST_SUITE_P(ModelShapes, FatalChecks, testing::ValuesIn(modelShapeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Texture natives: a texture of our own under a live reference, with a
// device object whose device is forged or missing as each case needs.
struct TextureScene {
  RukTexture record{};
  uint32_t reference = nativeRefIssue(NativeKind::Texture, &record);
  JHandle object = newTextureObject(newDeviceObject());
  JHandle pixels = newIntArray(4);
  JHandle bytes = newByteArray(4);
  JHandle palette = newIntArray(2);
  TextureScene() { setWord(object, TEXTURE_NATIVE_TEXTURE, reference); }
  ~TextureScene() { nativeRefRevoke(reference, NativeKind::Texture); }
  void convert32(JHandle source) {
    callTexture("convertRect32", {object, 0, 0, 1, 1, 0xFF0000, 0xFF00, 0xFF, int32_t(0xFF000000), source, 0, 1});
  }
  void convert8(JHandle source, JHandle colours = 0, int32_t count = 0) {
    callTexture("convertRect8", {object, 0, 0, 1, 1, colours, count, source, 0, 1});
  }
  // A 2 x 2 texture of a direct device, so that conversions reach the source.
  uint32_t texels[4] = {};
  void sized() {
    record = RukTexture{2, 2, 1, 1, texels};
    callDevice("initDirect", {getHandle(object, TEXTURE_DEVICE), 0xFF0000, 0xFF00, 0xFF});
  }
};

struct TextureCase {
  const char* name;
  std::string lead;
  std::string method;
  std::string check;  // the check that fails, as the native writes it
  std::function<void(TextureScene&)> call;
};
void PrintTo(const TextureCase& c, std::ostream* os) { *os << c.name; }

class TextureChecks : public testing::TestWithParam<TextureCase> {};

TEST_P(TextureChecks, ReportTheLeadAndTheNativesSource) {
  const TextureCase& c = GetParam();
  TextureScene scene;
  EXPECT_FATAL_REPORT(c.call(scene), c.lead, TEXTURE_FILE);
}

std::vector<TextureCase> textureCases() {
  std::vector<TextureCase> cases;
  for (const char* method : {"convertRect32", "convertRect8"}) {
    const bool wide = std::string(method) == "convertRect32";
    auto convert = [wide](TextureScene& s) { wide ? s.convert32(s.pixels) : s.convert8(s.bytes); };
    cases.push_back(
        {"noTexture", "kelruk: no native texture at", method, "textureOf(fields)", [convert](TextureScene& s) {
           setWord(s.object, TEXTURE_NATIVE_TEXTURE, 0);
           convert(s);
         }});
    cases.push_back({"nullPixels", NULL_ARGUMENT, method, "requireArgument(pixels)",
                     [wide](TextureScene& s) { wide ? s.convert32(0) : s.convert8(0); }});
    cases.push_back({"noDeviceObject", "kelruk: texture without device at", method, "conversionDeviceOf(fields)",
                     [convert](TextureScene& s) {
                       setHandle(s.object, TEXTURE_DEVICE, 0);
                       convert(s);
                     }});
    cases.push_back(
        {"deviceNotInitialised", "kelruk: no native device at", method, "conversionDeviceOf(fields)", convert});
  }
  cases.push_back({"nullPalette", NULL_ARGUMENT, "convertRect8", "requireArgument(palette)",
                   [](TextureScene& s) { s.convert8(s.bytes, 0, 2); }});
  // Source elements before the array's first: a large negative offset, and
  // rows that a negative scan size leads before it.
  cases.push_back({"offsetBeforeTheArray", "kelruk: status 7 (bad argument) at", "convertRect8",
                   "requireOk(convertRect8Texels", [](TextureScene& s) {
                     s.sized();
                     callTexture("convertRect8", {s.object, 0, 0, 2, 2, s.palette, 2, s.bytes, -2054847097, 2});
                   }});
  cases.push_back({"rowsBeforeTheArray", "kelruk: status 7 (bad argument) at", "convertRect32",
                   "requireOk(convertRect32Texels", [](TextureScene& s) {
                     s.sized();
                     callTexture("convertRect32",
                                 {s.object, 0, 0, 2, 2, 0xFF0000, 0xFF00, 0xFF, int32_t(0xFF000000), s.pixels, 1, -2});
                   }});
  cases.push_back(
      {"disposeWithoutTexture", "kelruk: no native texture at", "dispose", "textureOf(fields)", [](TextureScene& s) {
         setWord(s.object, TEXTURE_NATIVE_TEXTURE, 0);
         callTexture("dispose", {s.object});
       }});
  static const uint32_t staleTexture = revokedReference(NativeKind::Texture);
  cases.push_back({"disposeStaleTexture", "kelruk: stale or forged texture reference " + hex(staleTexture) + " at",
                   "dispose", "textureOf(fields)", [](TextureScene& s) {
                     setWord(s.object, TEXTURE_NATIVE_TEXTURE, staleTexture);
                     callTexture("dispose", {s.object});
                   }});
  return cases;
}
INSTANTIATE_TEST_SUITE_P(Textures, TextureChecks, testing::ValuesIn(textureCases()), [](const auto& info) {
  return std::string(info.param.name) + "_" + std::to_string(info.index);
});

// Device natives.
TEST(DeviceChecks, IndexedPaletteSizeMustFitEightBitPixels) {
  const JHandle channel = newByteArray(300);
  EXPECT_FATAL_REPORT(callDevice("initIndexed", {newDeviceObject(), -1, channel, channel, channel}),
                      "kelruk: value -1 out of range at", DEVICE_FILE);
  EXPECT_FATAL_REPORT(callDevice("initIndexed", {newDeviceObject(), 257, channel, channel, channel}),
                      "kelruk: value 257 out of range at", DEVICE_FILE);
}

TEST(DeviceChecks, IndexedPaletteArraysMustExist) {
  const JHandle channel = newByteArray(2);
  EXPECT_FATAL_REPORT(callDevice("initIndexed", {newDeviceObject(), 2, channel, channel, 0u}), NULL_ARGUMENT,
                      DEVICE_FILE);
}

TEST(DeviceChecks, RejectedMasksReportTheStatus) {
  // Not 0xFFFFFF together, so a 16-bit device, whose red mask is too high.
  EXPECT_FATAL_REPORT(callDevice("initDirect", {newDeviceObject(), 0xFF0000, 0xFF00, 0xFE}),
                      "kelruk: status 8 (pixel format not supported) at", DEVICE_FILE);
}

// Model natives.
TEST(ModelChecks, StaleModelReferenceIsFatal) {
  static const uint32_t stale = revokedReference(NativeKind::Model);
  const JHandle model = newModelObject();
  setWord(model, MODEL_NATIVE_MODEL, stale);
  const std::string lead = "kelruk: stale or forged model reference " + hex(stale) + " at";
  EXPECT_FATAL_REPORT(callModel("generateFaceNormals", {model}), lead, MODEL_FILE);
  EXPECT_FATAL_REPORT(callModel("generateVertexNormals", {model, 1.0f}), lead, MODEL_FILE);
  EXPECT_FATAL_REPORT(callModel("copyVertexNormals", {model}), lead, MODEL_FILE);
  EXPECT_FATAL_REPORT(callModel("dispose", {model}), lead, MODEL_FILE);
}

TEST(ModelChecks, CopyOfNormalsNeedsAModelAndArrays) {
  const JHandle model = newModelObject();
  EXPECT_FATAL_REPORT(callModel("copyVertexNormals", {model}), "kelruk: no native model at", MODEL_FILE);
  RegisteredModel registered;
  float generated[3] = {0, 0, 1};
  registered.record.normals = generated;
  setInt(registered.object, MODEL_NORMAL_COUNT, 1);
  setHandle(registered.object, MODEL_NORMAL_INDICES, newIntArray(3));
  EXPECT_FATAL_REPORT(callModel("copyVertexNormals", {registered.object}), NULL_ARGUMENT, MODEL_FILE);
}

TEST(ModelChecks, DisposeOfAModelNeverCreatedIsTheReleaseWrappersReport) {
  const JHandle model = newModelObject();
  EXPECT_EXIT(callModel("dispose", {model}), testing::ExitedWithCode(1), "^Attempted to free NULL!\n$");
}

// Statuses of workers, with the context's last error where there is one.
std::string statusLead(const char* text) { return std::string("kelruk: status ") + text + " at"; }

std::vector<FatalCase> statusCases() {
  auto status = [](const char* method, const char* lead, std::function<void(Scene&)> call,
                   const char* token = "requireOk(") {
    return FatalCase{method, statusLead(lead), GRAPHICS3D_FILE, token, std::move(call)};
  };
  // A model stack with every entry in use.
  auto fullStack = [](const char* method, std::function<void(Scene&)> push) {
    return FatalCase{method, statusLead("2 (model matrix stack full)"), GRAPHICS3D_FILE, "requireOk(",
                     [push](Scene& s) {
                       s.context.record->modelDepth = MODEL_STACK_DEPTH - 1;
                       push(s);
                     }};
  };
  auto fullLights = [](const char* method) {
    return FatalCase{method, statusLead("4 (light list full)"), GRAPHICS3D_FILE, "requireOk(", [method](Scene& s) {
                       s.context.record->lightCount = MAX_LIGHTS;
                       setHandle(s.light, LIGHT_DIRECTION, newVector3(0, 0, -1));
                       callGraphics3D(method, {s.context.graphics, s.light});
                     }};
  };
  auto withoutAccumulation = [](const char* method) {
    return FatalCase{method, statusLead("6 (a lower-level step failed)"), GRAPHICS3D_FILE, "requireOk(",
                     [method](Scene& s) {
                       callGraphics3D(method, {s.context.graphics, 1.0f});
                     }};
  };
  const JHandle matrix = newObject(17);
  const JHandle quaternion = newObject(4);
  setFloat(quaternion, 3, 1.0f);
  return {
      fullStack("concatModelMatrix",
                [matrix](Scene& s) {
                  callGraphics3D("concatModelMatrix", {s.context.graphics, matrix});
                }),
      fullStack("loadModelMatrix",
                [matrix](Scene& s) {
                  callGraphics3D("loadModelMatrix", {s.context.graphics, matrix});
                }),
      fullStack("translateModel",
                [](Scene& s) {
                  callGraphics3D("translateModel", {s.context.graphics, 1.0f, 2.0f, 3.0f});
                }),
      fullStack("doScaleModel",
                [](Scene& s) {
                  callGraphics3D("doScaleModel", {s.context.graphics, 1.0f, 2.0f, 3.0f});
                }),
      fullStack("doRotateModel",
                [](Scene& s) {
                  callGraphics3D("doRotateModel", {s.context.graphics, 0.0f, 0.0f, 1.0f, 1.0f});
                }),
      fullStack("doQuatRotateModel",
                [quaternion](Scene& s) {
                  callGraphics3D("doQuatRotateModel", {s.context.graphics, quaternion});
                }),
      status("popModelMatrix", "3 (model matrix stack empty)",
             [](Scene& s) { callGraphics3D("popModelMatrix", {s.context.graphics}); }),
      FatalCase{"popModelMatrixWithError",
                "kelruk: status 3 (model matrix stack empty), context error \"Bad model type\", at", GRAPHICS3D_FILE,
                "requireOk(",
                [](Scene& s) {
                  std::snprintf(s.context.record->errorMessage, ERROR_MESSAGE_SIZE, "Bad model type");
                  callGraphics3D("popModelMatrix", {s.context.graphics});
                }},
      status("doSetPerspectiveProjection", "7 (bad argument)",
             [](Scene& s) {
               callGraphics3D("doSetPerspectiveProjection", {s.context.graphics, 1.0f, 1.0f, 2.0f, 2.0f});
             }),
      status("doSetOrthographicProjection", "7 (bad argument)",
             [](Scene& s) {
               callGraphics3D("doSetOrthographicProjection", {s.context.graphics, 0.0f, 1.0f, 1.0f, 2.0f});
             }),
      fullLights("pushDirectionalLight"),
      fullLights("pushPointLight"),
      fullLights("pushSpotLight"),
      status("popLight", "5 (light list empty)", [](Scene& s) { callGraphics3D("popLight", {s.context.graphics}); }),
      withoutAccumulation("accumulate"),
      withoutAccumulation("accumLoad"),
      withoutAccumulation("accumReturn"),
      withoutAccumulation("accumMult"),
      status(
          "doCopyBuffers", "6 (a lower-level step failed)",
          [](Scene& s) {
            RegisteredContext other;
            other.record->width = 1;  // the scene's context is 0 x 0
            callGraphics3D("doCopyBuffers", {s.context.graphics, other.graphics, 2});
          },
          "requireOk(copyContextBuffers"),
      status("doRender", "500 (bad model type), context error \"Bad model type\",",
             [](Scene& s) {
               s.model.record.type = 7;
               callGraphics3D("doRender", {s.context.graphics, s.model.object});
             }),
      status(
          "doRayPick", "501 (not implemented)",
          [](Scene& s) {
            s.model.record.type = MODEL_LINES;
            callGraphics3D("doRayPick", {s.context.graphics, s.model.object, s.ray, s.result});
          },
          "requireOk(pickModel("),
  };
}
INSTANTIATE_TEST_SUITE_P(Statuses, FatalChecks, testing::ValuesIn(statusCases()), [](const auto& info) {
  return std::string(info.param.name) + "_" + std::to_string(info.index);
});

TEST(StatusChecks, TextureSidesMustBePowersOfTwo) {
  EXPECT_FATAL_REPORT(callTexture("init", {newTextureObject(), 3, 4}),
                      "kelruk: status 9 (texture side not a power of two) at", TEXTURE_FILE);
  // A negative side is no power of two, though its bits as unsigned may be.
  EXPECT_FATAL_REPORT(callTexture("init", {newTextureObject(), INT32_MIN, 1}),
                      "kelruk: status 9 (texture side not a power of two) at", TEXTURE_FILE);
}

}  // namespace
