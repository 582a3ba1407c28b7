// A fuzz input as a Java program: its bytes name a sequence of host-kit
// calls over every native of kel.ruk and kel.geom, each with fuzzed
// arguments, on objects whose arrays are as large as the counts they
// declare. A fatal exit of the library ends the program as it would end the
// process; everything the program made is then released, so that one
// process runs program after program.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct RukContext;

namespace fuzz {

// Told about a program's progress; the replay tool counts with it.
struct Observer {
  virtual ~Observer() = default;
  // A native that returned (no fatal exit), by its stub's exported name.
  virtual void nativeReturned(const char* /*stub*/) {}
  // A context that KELRendGraphics3D.init has just made.
  virtual void contextCreated(RukContext* /*context*/) {}
  // The library's exit with `status`, which ended the program.
  virtual void programEnded(int /*status*/) {}
};

// Routes the library's exits into runProgram; once per process, before the
// first program.
void prepareProcess();

void runProgram(std::span<const uint8_t> input, Observer* observer = nullptr);

// The operations in opcode order: host operations ("host.*") and natives
// (named like "KELRendGraphics3D.doRender").
std::span<const std::string_view> operationNames();
// The opcode of a named operation; ends the process for an unknown name.
uint8_t opcodeOf(std::string_view name);

}  // namespace fuzz
