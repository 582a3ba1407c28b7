// Whole-buffer operations: clearing, copying between two sets of buffers of
// the same size, and the accumulation buffer operations. They see a
// context's buffers through a BufferSet, which the context layer fills
// (context/buffer_ops.h).
#pragma once
#include <cstddef>
#include <cstdint>

struct RukColorModel;

// Buffer mask bits, the same as the context's bufferFlags.
inline constexpr uint32_t BUFFER_COLOR = 1;
inline constexpr uint32_t BUFFER_DEPTH = 2;
inline constexpr uint32_t BUFFER_ACCUM = 8;

// Accumulation operations.
inline constexpr uint32_t ACCUM_ADD = 0;
inline constexpr uint32_t ACCUM_LOAD = 1;
inline constexpr uint32_t ACCUM_RETURN = 2;
inline constexpr uint32_t ACCUM_MULT = 3;

struct BufferSet {
  uint32_t format;  // PixelFormat of the colour buffer
  uint32_t bytesPerPixel;
  uint32_t width, height;  // of every buffer, in pixels
  uint8_t* colorBuffer;    // rows rowBytes apart
  uint32_t rowBytes;
  int32_t* depthBuffer;   // width x height
  uint32_t* accumBuffer;  // width x height
  uint32_t bufferFlags;   // which of the three are present (BUFFER_COLOR and so on)
};

inline size_t pixelCount(const BufferSet& buffers) { return size_t{buffers.width} * buffers.height; }
inline size_t colorRowLength(const BufferSet& buffers) { return size_t{buffers.width} * buffers.bytesPerPixel; }
inline uint8_t* colorRow(const BufferSet& buffers, uint32_t row) {
  return buffers.colorBuffer + size_t{row} * buffers.rowBytes;
}

// The colour pixel that clears to `color` (0x00RRGGBB): the nearest palette
// colour for Indexed8, the dither at a fixed threshold for the reserved
// format 1 (0 for either without its map), the channels cut into the colour
// model's masks for direct formats.
uint32_t clearPixelValue(const RukColorModel* model, const uint8_t* map12, const uint8_t* map6, uint32_t color);

// The depth the pipeline gives a vertex at eye-space distance `distance`:
// 0 at the near plane, 2^30 at the far plane; saturated to 32 bits.
int32_t clearDepthValue(double nearZ, double farZ, double distance);

// Clears the buffers that both `mask` and bufferFlags name: colour to
// `pixel`, depth to `depth`, accumulation to 0. Padding after the colour
// rows is never written. Always true.
bool clearBuffers(const BufferSet& buffers, uint32_t mask, uint32_t pixel, int32_t depth);

// Copies the buffers that `mask` and both bufferFlags name; the colour only
// between buffers of one format. False, copying nothing, when the sizes
// differ.
bool copyBuffers(const BufferSet& source, const BufferSet& destination, uint32_t mask);

// One accumulation operation with `value` clamped to 0..1 (NaN counts as 0);
// nothing happens on indexed formats. False without a colour or an
// accumulation buffer, or for an operation above ACCUM_MULT.
bool accumulateBuffer(const BufferSet& buffers, uint32_t operation, float value);

// The 2^inBits-entry table converting an inBits-wide intensity to an
// outBits-wide one scaled by s, with rounding.
void buildScaleTable(int32_t* table, uint32_t inBits, uint32_t outBits, float s);
