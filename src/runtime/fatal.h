// The fatal report of the natives: one line "%s %s:%d\n" (leading text, source
// path, source line) on standard output, then the process ends with exit
// status -1.
#pragma once

[[noreturn]] void fatalReport(const char* leadingText, const char* sourcePath, int sourceLine);
