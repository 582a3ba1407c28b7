// Assembly stops when the queue is full and goes on where it stopped once
// the queue has been drawn; it never draws by itself.
#include <cstring>

#include "assembly_fixture.h"

namespace assembly_test {
namespace {

// The 128th queued primitive fills the queue: assembly stops right after it.
TEST_F(AssemblyTest, StopsWhenTheHundredTwentyEighthIsQueued) {
  for (int i = 0; i < 127; ++i) addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  EXPECT_TRUE(triangles(DEPTH));
  EXPECT_EQ(queuedCount(), 127u);

  context->batchCount = 0;
  addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  AssemblyCursor cursor;
  EXPECT_FALSE(assembleTriangles(context.get(), frame(DEPTH), &cursor));
  EXPECT_EQ(queuedCount(), 128u);
  EXPECT_EQ(cursor.entry, 0u);
  EXPECT_EQ(cursor.part, 1u);
  EXPECT_TRUE(recordedCalls().empty());

  RasterTarget target{};
  flushRasterQueue(&state, &target, DEPTH);
  ASSERT_EQ(recordedCalls().size(), 128u);  // one half each
  for (const RecordedCall& call : recordedCalls()) {
    EXPECT_EQ(call.kind, RP_TRIANGLE);
    EXPECT_EQ(call.queuedCount, 128u);
    EXPECT_EQ(call.slot, DEPTH);
  }
  EXPECT_TRUE(assembleTriangles(context.get(), frame(DEPTH), &cursor));
  EXPECT_EQ(queuedCount(), 1u);
  EXPECT_EQ(cursor.entry, 2u);
}

enum class Pass { Fan, Edges, Corners };

class ResumedAssembly : public AssemblyTest, public ::testing::WithParamInterface<Pass> {
 protected:
  bool assemble(AssemblyCursor* cursor) {
    const AssemblyFrame f = frame(DEPTH);
    switch (GetParam()) {
      case Pass::Fan: return assembleTriangles(context.get(), f, cursor);
      case Pass::Edges: return assembleLines(context.get(), MODEL_TRIANGLES, f, cursor);
      case Pass::Corners: return assemblePoints(context.get(), MODEL_TRIANGLES, f, cursor);
    }
    return true;
  }
};

// A triangle far larger than the view volume (clipped into a fan of two
// triangles; its edges and corners lie outside) and a plain one: with the
// queue filled by the first primitive, part-way through an entry, the same
// primitives are queued in the same order as without.
TEST_P(ResumedAssembly, QueuesWhatOnePassWould) {
  addEntry({eye(-10, -10, 2), eye(10, -10, 2), eye(0, 10, 2)});
  addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  AssemblyCursor whole;
  ASSERT_TRUE(assemble(&whole));
  const std::vector<RasterPrimitive> expected(queue.begin(), queue.begin() + queuedCount());
  ASSERT_EQ(expected.size(), 3u);

  state.queuedCount = RASTER_QUEUE_CAPACITY - 1;  // room for one more
  RasterTarget target{};
  AssemblyCursor cursor;
  uint32_t flushes = 0;
  while (!assemble(&cursor)) {
    flushRasterQueue(&state, &target, 0);
    ++flushes;
  }
  EXPECT_EQ(flushes, 1u);
  flushRasterQueue(&state, &target, 0);
  const auto& calls = recordedCalls();
  ASSERT_EQ(calls.size(), RASTER_QUEUE_CAPACITY - 1 + expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const RasterPrimitive& drawn = calls[RASTER_QUEUE_CAPACITY - 1 + i].primitive;
    EXPECT_EQ(std::memcmp(&drawn, &expected[i], sizeof drawn), 0) << "primitive " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Passes, ResumedAssembly, ::testing::Values(Pass::Fan, Pass::Edges, Pass::Corners));

}  // namespace
}  // namespace assembly_test
