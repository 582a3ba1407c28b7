// The triangle routines of the Rgb32 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

constinit const TriangleTable rgb32TriangleTable = makeTriangleTable<Rgb32Target>();
