// Which instruction set's copy of the scan converters draws. The library
// carries one copy per instruction set it was built for (on x86-64: baseline
// SSE2, AVX2 and AVX-512); the first use picks the widest one this processor
// runs, once per process. Tests and benchmarks may force a lesser one.
#pragma once
#include <cstdint>

#include "raster/raster.h"

enum class RasterIsa : uint32_t { Sse2, Avx2, Avx512, Generic, Count };

// Every instruction set, narrowest first.
inline constexpr RasterIsa RASTER_ISAS[] = {RasterIsa::Sse2, RasterIsa::Avx2, RasterIsa::Avx512, RasterIsa::Generic};

// "sse2", "avx2", "avx512", "generic" (the one copy of other processors).
const char* rasterIsaName(RasterIsa isa);

// Built into the library and run by this processor.
bool rasterIsaAvailable(RasterIsa isa);

// The widest available instruction set.
RasterIsa bestRasterIsa();

// The instruction set whose tables contexts take when they are created.
RasterIsa activeRasterIsa();

// Makes contexts created from now on draw with `isa`; contexts that exist keep
// their tables. False, changing nothing, when `isa` is not available.
bool forceRasterIsa(RasterIsa isa);

// The tables of a format in the copy for `isa`, whether or not it is the
// active one; null when `isa` is not available or the format has no
// rasterizers.
const RasterTableSet* rasterTablesForIsa(RasterIsa isa, uint32_t format);
