// The constant routine tables of every pixel format, one array per table, in
// each instruction set's copy of the scan converters; isaRasterTables gathers
// them into each format's RasterTableSet.
#pragma once
#include <array>

#include "raster/raster.h"
#include "runtime/isa_namespace.h"

inline namespace KELRUK_ISA {

using TriangleTable = std::array<TriangleRoutine, TRIANGLE_TABLE_SIZE>;
using LineTable = std::array<LineRoutine, LINE_TABLE_SIZE>;
using PointTable = std::array<PointRoutine, POINT_TABLE_SIZE>;

// The tables of a format in this copy, or null for formats without
// rasterizers.
const RasterTableSet* isaRasterTables(uint32_t format);

// The triangle setup of this copy.
bool setupTriangleBatch(RasterState* state, const CornerRules* rules, const TriangleBatch* batch);

// Triangles, generated from the one skeleton (a source per target).
extern const TriangleTable indexed8TriangleTable;  // nearest colour, no dither
extern const TriangleTable indexed8DitheredTriangleTable;
extern const TriangleTable rgb555TriangleTable;
extern const TriangleTable rgb16TriangleTable;
extern const TriangleTable rgb24TriangleTable;
extern const TriangleTable rgb32TriangleTable;

// Lines and points.
extern const LineTable indexed8LineTable;
extern const LineTable rgb555LineTable;
extern const LineTable rgb16LineTable;
extern const LineTable rgb24LineTable;
extern const LineTable rgb32LineTable;

extern const PointTable indexed8PointTable;
extern const PointTable rgb555PointTable;
extern const PointTable rgb16PointTable;
extern const PointTable rgb24PointTable;
extern const PointTable rgb32PointTable;

}  // namespace KELRUK_ISA
