#include "binding_harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

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

RegisteredModel::RegisteredModel() : reference(nativeRefIssue(NativeKind::Model, &record)), object(newModelObject()) {
  setWord(object, MODEL_NATIVE_MODEL, reference);
  setInt(object, MODEL_READY, 1);
}

RegisteredModel::~RegisteredModel() { nativeRefRevoke(reference, NativeKind::Model); }

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

// A report up to its line number: the lead and the native's Windows-style
// source path.
std::string reportPrefix(const std::string& lead, const std::string& file) {
  return lead + " ..\\..\\..\\src\\share\\kel\\ruk\\" + file + ":";
}

std::string reportPattern(const std::string& lead, const std::string& file) {
  return "(^|\n)" + escapeRegex(reportPrefix(lead, file)) + "[0-9]+\n";
}

int fatalReportLine(const std::function<void()>& statement, const std::string& lead, const std::string& file) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    ADD_FAILURE() << "no pipe";
    return -1;
  }
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    dup2(pipeEnds[1], 1);
    statement();
    std::fflush(stdout);
    _exit(0);  // the statement was meant to end the process
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 255) << "the child ended with status " << status;
  // The report is a whole line: the lead, the path, a colon and digits.
  const std::string prefix = reportPrefix(lead, file);
  for (size_t at = output.find(prefix); at != std::string::npos; at = output.find(prefix, at + 1)) {
    if (at != 0 && output[at - 1] != '\n') continue;
    const size_t digits = at + prefix.size();
    const size_t end = output.find_first_not_of("0123456789", digits);
    if (end == digits || end == std::string::npos || output[end] != '\n') continue;
    return std::stoi(output.substr(digits, end - digits));
  }
  ADD_FAILURE() << "no report \"" << prefix << "<line>\" in: " << output;
  return -1;
}

}  // namespace bindingtest
