// Records that carry primitives from assembly to the scan converters, the
// per-context rasterizer block and the feature bits. The queue's operations
// are in raster/raster_queue.h.
//
// Scan conversion is done by one routine per pixel format, primitive kind and
// feature combination. The routine for a primitive is picked once, by indexing
// a table with (primitive flags AND the render call's pipelineFlags); no
// routine tests a feature per pixel.
#pragma once
#include <cstdint>

#include "device/color_model.h"
#include "raster/raster_target.h"

// Feature bits, in RasterPrimitive::flags and in a render call's pipelineFlags.
inline constexpr uint32_t RF_DEPTH_TEST = 1;
inline constexpr uint32_t RF_DEPTH_WRITE = 2;
inline constexpr uint32_t RF_SMOOTH = 4;
inline constexpr uint32_t RF_BLEND = 8;
inline constexpr uint32_t RF_TEXTURE = 16;
inline constexpr uint32_t RF_SPECULAR = 32;
inline constexpr uint32_t RF_FOG = 64;

inline constexpr uint32_t RP_POINT = 0;
inline constexpr uint32_t RP_LINE = 1;
inline constexpr uint32_t RP_TRIANGLE = 2;

// One screen-space vertex. 16.16 = 16 fractional bits; 8.16 = an 8-bit
// intensity in bits 16-23 with a 16-bit fraction below.
struct RasterVertex {
  int32_t x;   // 16.16 column
  int32_t y;   // 16.16 row, growing downwards
  int32_t z;   // depth, smaller is nearer
  int32_t c0;  // 8.16 red
  int32_t c1;  // 8.16 green
  int32_t c2;  // 8.16 blue
  int32_t a;   // 8.16 alpha (RF_BLEND)
  int32_t s0;  // 8.16 specular red (RF_SPECULAR)
  int32_t s1;
  int32_t s2;
  int32_t f;  // 8.16 fog amount (RF_FOG)
  int32_t u;  // 16.16 texture column; 1.0 spans the texture once (RF_TEXTURE)
  int32_t v;  // 16.16 texture row
};
static_assert(sizeof(RasterVertex) == 13 * 4);

struct RasterPrimitive {
  // Point: slot 0. Line: slots 0 (start) and 1 (end). Triangle: 0 top,
  // 1 middle, 2 bottom, 3 the long edge's point at the middle vertex's height.
  RasterVertex vertices[4];
  uint32_t flags;
  uint32_t kind;
  // Triangles: per-pixel change of each quantity for one step right.
  int32_t dc0dx, dc1dx, dc2dx, dadx, ds0dx, ds1dx, ds2dx, dfdx, dudx, dvdx, dzdx;
  // Triangles: the halves' edge positions at their first row and per-row steps
  // (16.16). Row r is sampled at y = r + 1 (a pixel's lower right corner), and
  // an edge's x on each row depends on its two end points alone.
  int32_t upperLeftX, upperRightX, lowerLeftX, lowerRightX;
  int32_t upperLeftStep, upperRightStep, lowerLeftStep, lowerRightStep;
  // Triangles: fraction of the left edge at which each half's first row is
  // sampled.
  float upperPrestep, lowerPrestep;
  // Triangles: bit 1 upper half covers a row, bit 2 lower half does.
  uint32_t halves;
};

using PointRoutine = void (*)(const RasterTarget* target, const RasterPrimitive* primitive);
using LineRoutine = void (*)(const RasterTarget* target, const RasterPrimitive* primitive);
using TriangleRoutine = void (*)(const RasterTarget* target, const RasterPrimitive* primitive,
                                 const RasterVertex* leftStart, const RasterVertex* leftEnd, int32_t leftX,
                                 int32_t rightX, int32_t leftStep, int32_t rightStep, float prestep);

// Sets up and queues a batch of triangles in order under a render call's
// rules (raster/triangle_batch.h); the queue must have room for all of them.
// True when it is full afterwards.
struct RasterState;
struct TriangleBatch;
struct CornerRules;
using TriangleSetupRoutine = bool (*)(RasterState* state, const CornerRules* rules, const TriangleBatch* batch);

inline constexpr uint32_t TRIANGLE_TABLE_SIZE = 128;
inline constexpr uint32_t LINE_TABLE_SIZE = 32;
inline constexpr uint32_t POINT_TABLE_SIZE = 32;
inline constexpr uint32_t RASTER_QUEUE_CAPACITY = 128;

// The constant tables of one pixel format.
struct RasterTableSet {
  const TriangleRoutine* triangles;          // 128 slots
  const TriangleRoutine* ditheredTriangles;  // Indexed8 only, else null
  const LineRoutine* lines;                  // 32 slots
  const PointRoutine* points;                // 32 slots
  TriangleSetupRoutine setupTriangles;       // the same for every format of a copy
};

// The tables for a format, or null for formats without rasterizers.
const RasterTableSet* rasterTablesFor(uint32_t format);

// The rasterizer block of one context; owned by the context.
struct RasterState {
  const TriangleRoutine* triangleTable;
  const LineRoutine* lineTable;
  const PointRoutine* pointTable;
  TriangleSetupRoutine setupTriangles;  // from the same copy as the tables
  uint32_t queuedCount;
  uint32_t queueCapacity;
  RasterPrimitive* queue;                  // queueCapacity records
  uint8_t* inverseColorMap12;              // 4,096 entries, indexed formats only
  uint8_t* inverseColorMap6;               // 64 entries, indexed formats only
  const RasterTableSet* tables = nullptr;  // where the three tables came from; null for formats without
  uint32_t format = Indexed8;              // the pixel format the tables were chosen for
};

// At context creation, once the colour model is built: the tables of its
// format, the empty queue and, for indexed formats, the inverse colour maps
// built from its palette. The allocation wrappers end the process when
// memory runs out, so this never fails.
RasterState* selectRasterTables(const RukColorModel* model);
void freeRasterState(RasterState* state);  // null is accepted

// The context attribute that turns the dither of indexed colour on.
inline constexpr uint32_t RASTER_DITHER_ATTRIBUTE = 14;

// Runs after every attribute store with the attribute's new word: attribute
// 14 switches an Indexed8 state between the plain and the dithered triangle
// table. A null state is ignored.
void rasterAttributeChanged(RasterState* state, uint32_t attributeId, uint32_t value);
