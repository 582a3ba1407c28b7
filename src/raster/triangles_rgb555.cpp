// The triangle routines of the Rgb555 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

inline namespace KELRUK_ISA {

constinit const TriangleTable rgb555TriangleTable = makeTriangleTable<Rgb555Target>();

}  // namespace KELRUK_ISA
