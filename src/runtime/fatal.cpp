// The fatal report of the natives.
#include "runtime/fatal.h"

#include <cstdio>

#include "runtime/process_exit.h"

void fatalReport(const char* leadingText, const char* sourcePath, int sourceLine) {
  // Whatever the program printed before comes first, then the report line.
  std::fflush(stdout);
  std::fflush(stderr);
  std::printf("%s %s:%d\n", leadingText, sourcePath, sourceLine);
  std::fflush(stdout);
  rukExitProcess(-1);
}
