#include "binding_harness.h"

#include <fstream>

using namespace kelhost;

namespace bindingtest {

std::string rukStub(const char* cls, const char* method) {
  return std::string("Java_kel_ruk_") + cls + "_" + method + "_stub";
}

StubResult callGraphics3D(const char* method, std::initializer_list<JArg> args) {
  return callStub(rukStub("KELRendGraphics3D", method).c_str(), args);
}
StubResult callTexture(const char* method, std::initializer_list<JArg> args) {
  return callStub(rukStub("KELRendTexture", method).c_str(), args);
}
StubResult callModel(const char* method, std::initializer_list<JArg> args) {
  return callStub(rukStub("KELRendModel", method).c_str(), args);
}
StubResult callDevice(const char* method, std::initializer_list<JArg> args) {
  return callStub(rukStub("KELRend3DDevice", method).c_str(), args);
}

JHandle newGraphics3DObject(JHandle deviceObject) {
  const JHandle graphics = newObject(8);
  setHandle(graphics, GRAPHICS3D_DEVICE, deviceObject);
  return graphics;
}

JHandle newDeviceObject(uint32_t nativeDevice) {
  const JHandle device = newObject(1);
  setWord(device, DEVICE_NATIVE_DEVICE, nativeDevice);
  return device;
}

JHandle newTextureObject(JHandle deviceObject) {
  const JHandle texture = newObject(11);
  setHandle(texture, TEXTURE_DEVICE, deviceObject);
  return texture;
}

JHandle newModelObject() { return newObject(24); }

JHandle newVector3(float x, float y, float z) {
  const JHandle vector = newObject(3);
  setFloat(vector, 0, x);
  setFloat(vector, 1, y);
  setFloat(vector, 2, z);
  return vector;
}

RegisteredContext::RegisteredContext()
    : record(new RukContext{}),
      reference(nativeRefIssue(NativeKind::Context, record)),
      graphics(newGraphics3DObject()) {
  record->colorModel.format = Rgb32;
  setWord(graphics, GRAPHICS3D_CONTEXT, reference);
}

RegisteredContext::~RegisteredContext() {
  nativeRefRevoke(reference, NativeKind::Context);
  delete record;
}

RegisteredModel::RegisteredModel()
    : reference(nativeRefIssue(NativeKind::Model, &record)), object(newModelObject()) {
  setWord(object, MODEL_NATIVE_MODEL, reference);
  setInt(object, MODEL_READY, 1);
}

RegisteredModel::~RegisteredModel() { nativeRefRevoke(reference, NativeKind::Model); }

int checkLine(const std::string& file, const std::string& function, const std::string& token, int occurrence) {
  const std::string path = std::string(KELRUK_SOURCE_DIR) + "/src/share/kel/ruk/" + file;
  std::ifstream source(path);
  if (!source) {
    ADD_FAILURE() << "cannot read " << path;
    return -1;
  }
  std::string text;
  bool inBody = false;
  for (int number = 1; std::getline(source, text); ++number) {
    if (!inBody) {
      inBody = text.find(function + "(") != std::string::npos;
      continue;
    }
    if (text == "}") break;
    if (text.find(token) != std::string::npos && --occurrence == 0) return number;
  }
  ADD_FAILURE() << "no line with '" << token << "' in " << function << " of " << file;
  return -1;
}

namespace {

std::string escapeRegex(const std::string& literal) {
  std::string escaped;
  for (char c : literal) {
    if (std::string_view(".[]()*+?{}|^$\\").find(c) != std::string_view::npos) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

}  // namespace

std::string reportPattern(const std::string& lead, const std::string& file, int line) {
  return "(^|\n)" + escapeRegex(lead + " ..\\..\\..\\src\\share\\kel\\ruk\\" + file + ":" + std::to_string(line)) +
         "\n";
}

}  // namespace bindingtest
