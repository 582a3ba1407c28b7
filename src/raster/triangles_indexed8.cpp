// The triangle routines of the Indexed8, nearest palette colour table.
#include "raster/raster_tables.h"
#include "raster/triangle_skeleton.h"

constinit const TriangleTable indexed8TriangleTable = makeTriangleTable<IndexedNearestTarget>();
