// The triangle routines of the Rgb24 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

inline namespace KELRUK_ISA {

constinit const TriangleTable rgb24TriangleTable = makeTriangleTable<Rgb24Target>();

}  // namespace KELRUK_ISA
