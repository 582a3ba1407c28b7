// The line routines of every pixel format. Indexed8 has one line table, used
// with both its plain and its dithered triangle table.
#include "raster/line_family.h"
#include "raster/raster_tables.h"

constinit const LineTable indexed8LineTable = makeLineTable<IndexedNearestTarget>();
constinit const LineTable rgb555LineTable = makeLineTable<Rgb555Target>();
constinit const LineTable rgb16LineTable = makeLineTable<Rgb16Target>();
constinit const LineTable rgb24LineTable = makeLineTable<Rgb24Target>();
constinit const LineTable rgb32LineTable = makeLineTable<Rgb32Target>();
