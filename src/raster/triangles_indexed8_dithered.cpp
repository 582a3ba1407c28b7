// The triangle routines of the Indexed8, ordered dither table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

inline namespace KELRUK_ISA {

constinit const TriangleTable indexed8DitheredTriangleTable = makeTriangleTable<IndexedDitheredTarget>();

}  // namespace KELRUK_ISA
