// The triangle routines of the Indexed8, ordered dither table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

constinit const TriangleTable indexed8DitheredTriangleTable = makeTriangleTable<IndexedDitheredTarget>();
