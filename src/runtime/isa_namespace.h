// The instruction set a source is compiled for, as the name of an inline
// namespace. The scan converters are compiled once per instruction set
// (baseline x86-64, AVX2, AVX-512), and everything those sources define or
// inline from our headers lives in `inline namespace KELRUK_ISA`: each copy
// of an inline function then has a name of its own, so the linker never
// keeps one set's copy for callers compiled for another. Sources outside the
// per-set copies take the name isa_baseline.
#pragma once

#ifndef KELRUK_ISA
#define KELRUK_ISA isa_baseline
#endif
