// The choice of the scan converters' instruction set, and rasterTablesFor,
// which hands out the chosen copy's tables.
#include "raster/raster_isa.h"

#include <atomic>

#include "raster/raster.h"

// Each copy's entry, in the namespace of its instruction set (see
// runtime/isa_namespace.h). The build defines KELRUK_ISA_HAS_<set> for
// every copy it compiles.
#define KELRUK_DECLARE_ISA_TABLES(ns)                     \
  namespace ns {                                          \
  const RasterTableSet* isaRasterTables(uint32_t format); \
  }
#if defined(KELRUK_ISA_HAS_SSE2)
KELRUK_DECLARE_ISA_TABLES(isa_sse2)
#endif
#if defined(KELRUK_ISA_HAS_AVX2)
KELRUK_DECLARE_ISA_TABLES(isa_avx2)
#endif
#if defined(KELRUK_ISA_HAS_AVX512)
KELRUK_DECLARE_ISA_TABLES(isa_avx512)
#endif
#if defined(KELRUK_ISA_HAS_GENERIC)
KELRUK_DECLARE_ISA_TABLES(isa_generic)
#endif

namespace {

using TablesEntry = const RasterTableSet* (*)(uint32_t format);

TablesEntry entryOf(RasterIsa isa) {
  switch (isa) {
#if defined(KELRUK_ISA_HAS_SSE2)
    case RasterIsa::Sse2: return &isa_sse2::isaRasterTables;
#endif
#if defined(KELRUK_ISA_HAS_AVX2)
    case RasterIsa::Avx2: return &isa_avx2::isaRasterTables;
#endif
#if defined(KELRUK_ISA_HAS_AVX512)
    case RasterIsa::Avx512: return &isa_avx512::isaRasterTables;
#endif
#if defined(KELRUK_ISA_HAS_GENERIC)
    case RasterIsa::Generic: return &isa_generic::isaRasterTables;
#endif
    default: return nullptr;
  }
}

bool processorRuns(RasterIsa isa) {
#if defined(__x86_64__)
  __builtin_cpu_init();
  switch (isa) {
    case RasterIsa::Sse2: return true;
#if defined(__clang__)
    // Clang names the features one by one: those of x86-64-v3 and -v4 that
    // code compiled for them may use.
    case RasterIsa::Avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi") &&
             __builtin_cpu_supports("bmi2");
    case RasterIsa::Avx512:
      return processorRuns(RasterIsa::Avx2) && __builtin_cpu_supports("avx512f") &&
             __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512cd");
#else
    case RasterIsa::Avx2: return __builtin_cpu_supports("x86-64-v3");
    case RasterIsa::Avx512: return __builtin_cpu_supports("x86-64-v4");
#endif
    default: return false;
  }
#else
  return isa == RasterIsa::Generic;
#endif
}

RasterIsa widestAvailable() {
  // The x86-64 sets, widest first; the generic copy is built only where
  // they are not.
  for (RasterIsa isa : {RasterIsa::Avx512, RasterIsa::Avx2, RasterIsa::Sse2, RasterIsa::Generic}) {
    if (rasterIsaAvailable(isa)) return isa;
  }
  return RasterIsa::Generic;  // a build without any copy does not link
}

// Count until the first use picks one.
std::atomic<RasterIsa> active{RasterIsa::Count};

}  // namespace

const char* rasterIsaName(RasterIsa isa) {
  switch (isa) {
    case RasterIsa::Sse2: return "sse2";
    case RasterIsa::Avx2: return "avx2";
    case RasterIsa::Avx512: return "avx512";
    case RasterIsa::Generic: return "generic";
    default: return "none";
  }
}

bool rasterIsaAvailable(RasterIsa isa) { return entryOf(isa) != nullptr && processorRuns(isa); }

RasterIsa bestRasterIsa() {
  static const RasterIsa best = widestAvailable();
  return best;
}

RasterIsa activeRasterIsa() {
  RasterIsa isa = active.load(std::memory_order_acquire);
  if (isa == RasterIsa::Count) {
    RasterIsa expected = RasterIsa::Count;
    active.compare_exchange_strong(expected, bestRasterIsa(), std::memory_order_acq_rel);
    isa = active.load(std::memory_order_acquire);
  }
  return isa;
}

bool forceRasterIsa(RasterIsa isa) {
  if (!rasterIsaAvailable(isa)) return false;
  active.store(isa, std::memory_order_release);
  return true;
}

const RasterTableSet* rasterTablesFor(uint32_t format) { return entryOf(activeRasterIsa())(format); }

const RasterTableSet* rasterTablesForIsa(RasterIsa isa, uint32_t format) {
  return rasterIsaAvailable(isa) ? entryOf(isa)(format) : nullptr;
}
