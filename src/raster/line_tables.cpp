// The line routines of every pixel format. Indexed8 has one line table, used
// with both its plain and its dithered triangle table.
#include "raster/line_family.h"
#include "raster/raster_tables.h"

constinit const LineTable indexed8LineTable = makeLineTable<IndexedNearestPixels>();
constinit const LineTable rgb555LineTable = makeLineTable<Rgb555Pixels>();
constinit const LineTable rgb16LineTable = makeLineTable<Rgb16Pixels>();
constinit const LineTable rgb24LineTable = makeLineTable<Rgb24Pixels>();
constinit const LineTable rgb32LineTable = makeLineTable<Rgb32Pixels>();
