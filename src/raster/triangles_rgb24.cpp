// The triangle routines of the Rgb24 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

constinit const TriangleTable rgb24TriangleTable = makeTriangleTable<Rgb24Target>();
