// Line and point tables whose every slot draws nothing, until the line and
// point families are written; the tables keep their final names and shapes.
#include "raster/raster_tables.h"

namespace {

void drawNothing(RukContext*, const RasterPrimitive*) {}

template <class Table>
consteval Table filledWithNothing() {
  Table table{};
  table.fill(&drawNothing);
  return table;
}

}  // namespace

constinit const LineTable indexed8LineTable = filledWithNothing<LineTable>();
constinit const LineTable rgb555LineTable = filledWithNothing<LineTable>();
constinit const LineTable rgb16LineTable = filledWithNothing<LineTable>();
constinit const LineTable rgb24LineTable = filledWithNothing<LineTable>();
constinit const LineTable rgb32LineTable = filledWithNothing<LineTable>();

constinit const PointTable indexed8PointTable = filledWithNothing<PointTable>();
constinit const PointTable rgb555PointTable = filledWithNothing<PointTable>();
constinit const PointTable rgb16PointTable = filledWithNothing<PointTable>();
constinit const PointTable rgb24PointTable = filledWithNothing<PointTable>();
constinit const PointTable rgb32PointTable = filledWithNothing<PointTable>();
