// The setup of a batch of triangles in lanes: every instruction set's copy,
// with triangles in any lane position and batches of any size, queues
// byte-identical records (the hand-worked fields are in
// triangle_setup_test.cpp, run on the processor's widest copy).
#include <array>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "assembly_fixture.h"
#include "raster/raster_isa.h"

namespace assembly_test {
namespace {

// Positions on a quarter-pixel grid half the time, so that corners share
// rows, lie on whole rows and make slivers, and the sort's ties are met.
std::vector<std::array<ScreenVertex, 3>> randomTriangles(uint32_t count) {
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> position(0.0f, 99.9f);
  std::uniform_int_distribution<uint32_t> word;
  std::vector<std::array<ScreenVertex, 3>> triangles(count);
  for (auto& triangle : triangles) {
    const bool onGrid = word(random) & 1;
    const uint32_t shared = word(random);
    for (ScreenVertex& p : triangle) {
      p.x = position(random);
      p.y = position(random);
      if (onGrid)
        p.x = static_cast<float>(static_cast<int>(p.x * 4)) / 4,
        p.y = static_cast<float>(static_cast<int>(p.y * 4)) / 4;
      p.depth = position(random) * 1e7f;
      p.u = position(random) / 7;
      p.v = position(random) / 9;
      p.color = (word(random) & 3) ? shared : word(random);  // often flat, often opaque
      p.specular = word(random);
    }
    if (word(random) % 5 == 0) triangle[1].y = triangle[0].y;
  }
  // Some that cover no row, and slivers, which are not queued.
  for (uint32_t i = 0; i < count; i += 7) {
    for (uint32_t k = 0; k < 3; ++k) triangles[i][k].y = 40.125f + 0.25f * static_cast<float>(k);
  }
  for (uint32_t i = 3; i < count; i += 11) {
    for (uint32_t k = 0; k < 3; ++k) triangles[i][k].x = 30.0f + 0.001f * static_cast<float>(k);
  }
  // Some with a corner off the image, dropped by the setup wherever they
  // sit in a batch.
  for (uint32_t i = 5; i < count; i += 13) triangles[i][i % 3].x = i % 2 ? 100.0f : -0.25f;
  triangles[9][1].y = std::numeric_limits<float>::quiet_NaN();
  return triangles;
}

TEST_F(AssemblyTest, EveryCopyAndBatchSizeQueuesTheSameRecords) {
  const auto triangles = randomTriangles(RASTER_QUEUE_CAPACITY);
  constexpr uint32_t FLAGS[] = {DEPTH, DEPTH | RF_TEXTURE, DEPTH | RF_SPECULAR | RF_FOG, RF_TEXTURE | RF_FOG};
  std::vector<RasterPrimitive> expected;
  uint32_t compared = 0, run = 0;
  for (uint32_t flags : FLAGS) {
    for (RasterIsa isa : RASTER_ISAS) {
      if (!rasterIsaAvailable(isa)) continue;
      state.setupTriangles = rasterTablesForIsa(isa, Rgb32)->setupTriangles;
      for (uint32_t size : {TRIANGLE_BATCH_SIZE, 1u, 5u}) {
        state.queuedCount = 0;
        // Every field of a record is written: what the queue held before
        // never shows through.
        std::memset(queue.data(), static_cast<int>(0x5Au + 0x35u * run++), sizeof(RasterPrimitive) * queue.size());
        const AssemblyFrame f = frame(flags);
        TriangleBatch batch;
        clearTriangleBatch(&batch);
        for (const auto& t : triangles) {
          stageTriangle(f, &batch, t[0], t[1], t[2]);
          if (batch.count == size) state.setupTriangles(&state, &f.rules, &batch), batch.count = 0;
        }
        if (batch.count != 0) state.setupTriangles(&state, &f.rules, &batch);
        const std::string name = std::string(rasterIsaName(isa)) + " batches of " + std::to_string(size);
        if (expected.empty()) {
          // Some are dropped (one row, slivers, off the image), most are queued.
          ASSERT_GT(state.queuedCount, RASTER_QUEUE_CAPACITY / 2);
          ASSERT_LT(state.queuedCount, RASTER_QUEUE_CAPACITY);
          for (uint32_t i = 0; i < state.queuedCount; ++i) {
            for (uint32_t k = 0; k < 3; ++k) {
              EXPECT_TRUE(queue[i].vertices[k].x >= 0 && queue[i].vertices[k].x < (100 << 16)) << i;
              EXPECT_TRUE(queue[i].vertices[k].y >= 0 && queue[i].vertices[k].y < (100 << 16)) << i;
            }
          }
          expected.assign(queue.begin(), queue.begin() + state.queuedCount);
          continue;
        }
        ASSERT_EQ(state.queuedCount, expected.size()) << name;
        for (uint32_t i = 0; i < state.queuedCount; ++i) {
          EXPECT_EQ(std::memcmp(&queue[i], &expected[i], sizeof(RasterPrimitive)), 0) << name << ", record " << i;
        }
        ++compared;
      }
    }
    expected.clear();
  }
  EXPECT_GE(compared, 2u * std::size(FLAGS));
}

// Assembly stages only the fields a render call carries, with the call's
// projection: the records it queues from batch entries are those of the same
// corners mapped to the screen one by one and set up with every field staged.
TEST_F(AssemblyTest, BatchEntriesQueueWhatTheirMappedCornersDo) {
  constexpr uint32_t FLAGS[] = {DEPTH, DEPTH | RF_TEXTURE, DEPTH | RF_SPECULAR, RF_FOG,
                                DEPTH | RF_TEXTURE | RF_SPECULAR | RF_FOG};
  std::mt19937 random(99);
  std::uniform_real_distribution<float> unit(-0.85f, 0.85f), depth(2.0f, 90.0f), coordinate(-3.0f, 3.0f);
  std::uniform_int_distribution<uint32_t> word;
  for (const uint32_t perspective : {1u, 0u}) {
    context->perspective = perspective;
    for (uint32_t flags : FLAGS) {
      context->batchCount = 0;
      for (uint32_t e = 0; e < 40; ++e) {
        std::array<BatchVertex, 3> corners;
        for (BatchVertex& v : corners) {
          const float z = depth(random);
          const float reach = perspective ? z : 1.0f;
          v = eye(unit(random) * reach, unit(random) * reach, z, word(random), word(random));
          v.u = coordinate(random);
          v.v = coordinate(random);
        }
        addEntry({corners[0], corners[1], corners[2]});
      }
      const std::string name = "flags " + std::to_string(flags) + (perspective ? ", perspective" : ", orthographic");
      state.queuedCount = 0;
      ASSERT_TRUE(triangles(flags)) << name;
      const std::vector<RasterPrimitive> assembled(queue.begin(), queue.begin() + state.queuedCount);
      ASSERT_GT(assembled.size(), 30u) << name;

      state.queuedCount = 0;
      std::memset(queue.data(), 0x5A, sizeof(RasterPrimitive) * queue.size());
      const AssemblyFrame f = frame(flags);
      TriangleBatch staged;
      clearTriangleBatch(&staged);
      for (uint32_t e = 0; e < context->batchCount; ++e) {
        const BatchVertex* v = batch[e].corners;
        stageTriangle(f, &staged, mapToScreen(f, v[0]), mapToScreen(f, v[1]), mapToScreen(f, v[2]));
        if (staged.count == TRIANGLE_BATCH_SIZE) state.setupTriangles(&state, &f.rules, &staged), staged.count = 0;
      }
      if (staged.count != 0) state.setupTriangles(&state, &f.rules, &staged);
      ASSERT_EQ(state.queuedCount, assembled.size()) << name;
      for (uint32_t i = 0; i < state.queuedCount; ++i) {
        EXPECT_EQ(std::memcmp(&queue[i], &assembled[i], sizeof(RasterPrimitive)), 0) << name << ", record " << i;
      }
    }
  }
}

}  // namespace
}  // namespace assembly_test
