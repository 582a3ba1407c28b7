// The triangle routines of the Rgb32 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

inline namespace KELRUK_ISA {

constinit const TriangleTable rgb32TriangleTable = makeTriangleTable<Rgb32Target>();

}  // namespace KELRUK_ISA
