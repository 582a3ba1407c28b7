// Triangles handed from assembly to the fixed-point setup several at a time.
// Assembly maps each triangle's corners to the screen and stores them in
// batch order, a field per array; the setup routine of the chosen
// instruction set (RasterState::setupTriangles) works on the whole batch in
// lanes: it drops triangles with a corner off the image, converts the
// corners' carried fields as the render call's rules say, sorts the corners
// by height and computes the edges, presteps, the long edge's point at the
// middle row and every gradient, then queues a record for each triangle that
// covers a row and is at least 0.01 pixel wide.
#pragma once
#include <cstdint>

#include "raster/raster.h"

inline constexpr uint32_t TRIANGLE_BATCH_SIZE = 16;

// Where the channels lie in a colour word.
struct ChannelShifts {
  uint32_t red, green, blue;
};

// What a render call's setup needs besides the triangles.
struct CornerRules {
  uint32_t pipelineFlags;
  // Positions the 16.16 screen coordinates and the buffers can hold: a
  // triangle with a corner outside [0, limitX) x [0, limitY) (or not a
  // number) is never queued, so that no rasterizer is handed a position
  // outside the image.
  float limitX, limitY;
  ChannelShifts shifts;                // of the colour and specular words
  uint32_t fogRed, fogGreen, fogBlue;  // fog colour channels
  bool separateSpecular;               // specular carried per pixel, else added to the colour
  bool perPixelFog;                    // fog amount carried per pixel, else mixed into the colour
};

struct TriangleBatch {
  uint32_t count;  // triangles 0 .. count - 1 are set up
  // Corner k of triangle i: (x[k][i], y[k][i]) in pixels, rows growing
  // downwards; depth 0 at the near plane and 2^30 at the far one; texture
  // coordinates (read with RF_TEXTURE), the lit colour word with alpha in
  // bits 24-31, the specular word with the fog amount in bits 24-31 (read
  // with RF_SPECULAR or RF_FOG). Lanes from count on must hold numbers (any).
  float x[3][TRIANGLE_BATCH_SIZE];
  float y[3][TRIANGLE_BATCH_SIZE];
  float depth[3][TRIANGLE_BATCH_SIZE];
  float u[3][TRIANGLE_BATCH_SIZE];
  float v[3][TRIANGLE_BATCH_SIZE];
  uint32_t color[3][TRIANGLE_BATCH_SIZE];
  uint32_t specular[3][TRIANGLE_BATCH_SIZE];
};
