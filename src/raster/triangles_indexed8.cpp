// The triangle routines of the Indexed8, nearest palette colour table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

inline namespace KELRUK_ISA {

constinit const TriangleTable indexed8TriangleTable = makeTriangleTable<IndexedNearestTarget>();

}  // namespace KELRUK_ISA
