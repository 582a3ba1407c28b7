// The point routines of every pixel format.
#include "raster/point_family.h"
#include "raster/raster_tables.h"

constinit const PointTable indexed8PointTable = makePointTable<IndexedNearestTarget>();
constinit const PointTable rgb555PointTable = makePointTable<Rgb555Target>();
constinit const PointTable rgb16PointTable = makePointTable<Rgb16Target>();
constinit const PointTable rgb24PointTable = makePointTable<Rgb24Target>();
constinit const PointTable rgb32PointTable = makePointTable<Rgb32Target>();
