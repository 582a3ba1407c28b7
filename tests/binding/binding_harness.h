// Shared tools of the binding tests: Java objects of the kel.ruk classes,
// context and model records registered under native references, the source
// lines of the natives' checks and the fatal report's pattern.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "context/context.h"
#include "host/host_kit.h"
#include "model/model.h"
#include "runtime/native_refs.h"
#include "share/kel/ruk/java_fields.h"

namespace bindingtest {

// "Java_kel_ruk_<cls>_<method>_stub".
std::string rukStub(const char* cls, const char* method);

// Calls a native of KELRendGraphics3D, KELRendTexture, ... by method name.
kelhost::StubResult callGraphics3D(const char* method, std::initializer_list<kelhost::JArg> args);
kelhost::StubResult callTexture(const char* method, std::initializer_list<kelhost::JArg> args);
kelhost::StubResult callModel(const char* method, std::initializer_list<kelhost::JArg> args);
kelhost::StubResult callDevice(const char* method, std::initializer_list<kelhost::JArg> args);

// Java objects with the field counts of their classes; fields zero.
JHandle newGraphics3DObject(JHandle deviceObject = 0);
JHandle newDeviceObject(uint32_t nativeDevice = 0);
JHandle newTextureObject(JHandle deviceObject = 0);
JHandle newModelObject();
JHandle newVector3(float x, float y, float z);

// A zeroed context record of our own under a live context reference, held by
// a KELRendGraphics3D object. The natives' checks and mappings happen before
// any worker runs, and the attribute setters store into `attributes`, so
// this is all they need.
struct RegisteredContext {
  RukContext* record;
  uint32_t reference;
  JHandle graphics;

  RegisteredContext();
  ~RegisteredContext();
  RegisteredContext(const RegisteredContext&) = delete;
  RegisteredContext& operator=(const RegisteredContext&) = delete;

  uint32_t attribute(uint32_t id) const { return record->attributes[id]; }
};

// A 2 x 1 Rgb32 context of our own with colour, depth and accumulation buffers.
struct BufferContext : RegisteredContext {
  uint32_t colour[2] = {0xFF0000, 0x0000FF};
  int32_t depth[2] = {1 << 30, 1 << 30};
  uint32_t accum[2] = {0, 0};
  BufferContext() {
    record->width = 2;
    record->height = 1;
    record->pitch = 2;
    record->rowBytes = 8;
    record->colorModel = RukColorModel{Rgb32, 4, 32, 8, 8, 8, 16, 8, 0, 16, 8, 0, 0, nullptr};
    record->bufferFlags = 1 | 2 | 8;
    record->colorBuffer = reinterpret_cast<uint8_t*>(colour);
    record->depthBuffer = depth;
    record->accumBuffer = accum;
  }
};

// A model record of our own under a live model reference, held by a
// KELRendModel object with `ready` set.
struct RegisteredModel {
  RukModel record{};
  uint32_t reference;
  JHandle object;

  RegisteredModel();
  ~RegisteredModel();
  RegisteredModel(const RegisteredModel&) = delete;
  RegisteredModel& operator=(const RegisteredModel&) = delete;
};

// The extended regular expression of one fatal report line: the literal
// lead, the native's Windows-style source path, a line number.
std::string reportPattern(const std::string& lead, const std::string& file);

// Runs `statement` in a child process and gives the line number of its fatal
// report (`lead file:line` on standard output, exit status -1); fails the
// test and gives -1 when the child ends otherwise.
int fatalReportLine(const std::function<void()>& statement, const std::string& lead, const std::string& file);

}  // namespace bindingtest

// The statement ends the process with the fatal report `lead file:line` on
// standard output and exit status -1 (255). The child sends standard output
// to standard error, where the death test reads it.
#define EXPECT_FATAL_REPORT(statement, lead, file) \
  EXPECT_EXIT(                                     \
      {                                            \
        std::fflush(stdout);                       \
        dup2(2, 1);                                \
        statement;                                 \
      },                                           \
      testing::ExitedWithCode(255), bindingtest::reportPattern(lead, file))
