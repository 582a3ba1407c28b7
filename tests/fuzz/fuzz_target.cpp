// The libFuzzer entry points: every input is a program (fuzz_program.h).
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_program.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::prepareProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::runProgram({data, size});
  return 0;
}
