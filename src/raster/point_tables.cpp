// The point routines of every pixel format.
#include "raster/point_family.h"
#include "raster/raster_tables.h"

constinit const PointTable indexed8PointTable = makePointTable<IndexedNearestPixels>();
constinit const PointTable rgb555PointTable = makePointTable<Rgb555Pixels>();
constinit const PointTable rgb16PointTable = makePointTable<Rgb16Pixels>();
constinit const PointTable rgb24PointTable = makePointTable<Rgb24Pixels>();
constinit const PointTable rgb32PointTable = makePointTable<Rgb32Pixels>();
