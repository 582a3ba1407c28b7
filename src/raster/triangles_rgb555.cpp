// The triangle routines of the Rgb555 table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

constinit const TriangleTable rgb555TriangleTable = makeTriangleTable<Rgb555Target>();
