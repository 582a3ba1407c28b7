// The triangle routines of the Rgb16 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

inline namespace KELRUK_ISA {

constinit const TriangleTable rgb16TriangleTable = makeTriangleTable<Rgb16Target>();

}  // namespace KELRUK_ISA
