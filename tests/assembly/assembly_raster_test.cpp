// Queue records as the 8-8-8 rasterizers draw them: the rows and columns a
// triangle covers follow from its edge fields, and a triangle clipped to the
// view volume never reaches past the image.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "context/context.h"
#include "pipeline/assembly.h"
#include "pipeline/assembly_frame.h"
#include "raster/raster.h"

namespace {

constexpr uint32_t RED = 0x00FF0000;
constexpr uint32_t GUARD = 0xA5A5A5A5;

class AssemblyRaster : public ::testing::Test {
 protected:
  // A 32-bit context of width x height pixels with guard rows above and
  // below its colour buffer.
  void create(uint32_t width, uint32_t height) {
    this->width = width;
    memory.assign(width * (height + 2), GUARD);
    std::fill(memory.begin() + width, memory.end() - width, 0u);
    RukDeviceDescriptor screen{};
    screen.depth = 32;
    screen.redMask = 0xFF0000;
    screen.greenMask = 0xFF00;
    screen.blueMask = 0xFF;
    ASSERT_EQ(createContext(nullptr, &context, &screen, width, height,
                            reinterpret_cast<uint8_t*>(memory.data() + width), 0, nullptr, nullptr),
              RUK_OK);
    ASSERT_EQ(beginRendering(context), RUK_OK);
  }
  void TearDown() override { freeContext(context); }

  uint32_t pixel(uint32_t row, uint32_t column) const { return memory[(row + 1) * width + column]; }
  bool guardsIntact() const {
    for (uint32_t i = 0; i < width; ++i) {
      if (memory[i] != GUARD || memory[memory.size() - 1 - i] != GUARD) return false;
    }
    return true;
  }

  RukContext* context = nullptr;
  uint32_t width = 0;
  std::vector<uint32_t> memory;
};

// The whole-row triangle (10, 2), (2, 6), (14, 10): its left edge runs 10 -> 2
// -> 14 and its right edge 10 -> 12 -> 14, each row sampled at its top.
TEST_F(AssemblyRaster, TriangleCoversTheRowsAndColumnsOfItsEdges) {
  create(20, 12);
  const AssemblyFrame frame = makeAssemblyFrame(context, 0);
  const ScreenVertex p0{10, 2, 0, 0, 0, 0xFFFF0000, 0};
  const ScreenVertex p1{2, 6, 0, 0, 0, 0xFFFF0000, 0};
  const ScreenVertex p2{14, 10, 0, 0, 0, 0xFFFF0000, 0};
  setupTriangle(context, frame, p0, p1, p2);
  flushRasterQueue(context, 0);
  // Columns [first, end) of rows 0 to 11.
  const uint32_t spans[12][2] = {{0, 0}, {0, 0}, {0, 0},  {8, 10}, {6, 11}, {4, 11},
                                 {2, 12}, {5, 12}, {8, 13}, {11, 13}, {0, 0}, {0, 0}};
  for (uint32_t row = 0; row < 12; ++row) {
    for (uint32_t column = 0; column < 20; ++column) {
      const bool inside = column >= spans[row][0] && column < spans[row][1];
      EXPECT_EQ(pixel(row, column), inside ? RED : 0u) << "row " << row << " column " << column;
    }
  }
}

// A triangle far larger than the view volume is clipped to it: its pieces
// cover the image from row and column 0 up to 98 (the planes map to 0.05 and
// 99.95) and nothing beyond.
TEST_F(AssemblyRaster, ClippedTriangleStaysInsideTheImage) {
  create(100, 100);
  context->xLimit = 1.0f;
  context->yLimit = 1.0f;
  BatchEntry& entry = context->batch[0];
  entry = BatchEntry{};
  const float corners[3][2] = {{-10, -10}, {10, -10}, {0, 10}};
  entry.clipOr = 0;
  entry.clipAnd = 0xFFFFFFFFu;
  for (int k = 0; k < 3; ++k) {
    BatchVertex& v = entry.corners[k];
    v.x = corners[k][0];
    v.y = corners[k][1];
    v.z = 2;
    v.w = 0.5f;
    v.color = 0xFFFF0000;
    v.clipCode = computeClipCode(context, v.x, v.y, v.z, v.w);
    entry.clipOr |= v.clipCode;
    entry.clipAnd &= v.clipCode;
  }
  context->batchCount = 1;
  ASSERT_NE(entry.clipOr, 0u);
  assembleTriangles(context, nullptr, 0);
  flushRasterQueue(context, 0);
  EXPECT_TRUE(guardsIntact());
  for (uint32_t i = 0; i < 100; ++i) {
    EXPECT_EQ(pixel(99, i), 0u) << "column " << i;
    EXPECT_EQ(pixel(i, 99), 0u) << "row " << i;
  }
  EXPECT_EQ(pixel(0, 0), RED);
  EXPECT_EQ(pixel(0, 98), RED);
  EXPECT_EQ(pixel(98, 0), RED);
  EXPECT_EQ(pixel(98, 98), RED);
  EXPECT_EQ(pixel(50, 50), RED);
}

}  // namespace
