// The triangle routines of the Rgb16 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

constinit const TriangleTable rgb16TriangleTable = makeTriangleTable<Rgb16Target>();
