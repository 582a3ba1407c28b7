// Triangles handed from assembly to the fixed-point setup several at a time.
// Assembly maps each triangle's corners to the screen and fills their
// carried fields in batch order; the setup routine of the chosen instruction
// set (RasterState::setupTriangles) sorts the corners by height and computes
// the edges, presteps, the long edge's point at the middle row and every
// gradient for the whole batch in lanes, then queues a record for each
// triangle that covers a row and is at least 0.01 pixel wide.
#pragma once
#include <cstdint>

#include "raster/raster.h"

inline constexpr uint32_t TRIANGLE_BATCH_SIZE = 16;

struct TriangleBatch {
  uint32_t count;  // triangles 0 .. count - 1 are set up
  // Corner k of triangle i at (x[k][i], y[k][i]) in pixels, rows growing
  // downwards, inside the image. Lanes from count on must hold numbers (any).
  float x[3][TRIANGLE_BATCH_SIZE];
  float y[3][TRIANGLE_BATCH_SIZE];
  // The corners' carried fields (z .. v), zero where the flags do not call
  // for them; x and y are unused.
  RasterVertex corners[TRIANGLE_BATCH_SIZE][3];
  uint32_t flags[TRIANGLE_BATCH_SIZE];  // the primitive's RF_ bits
};
