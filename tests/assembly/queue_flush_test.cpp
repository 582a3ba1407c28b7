// The queue is drawn as soon as it is full, through the context's tables.
#include "assembly_fixture.h"

namespace assembly_test {
namespace {

// 128 queued primitives are drawn at once, as the 128th is added.
TEST_F(AssemblyTest, QueueIsFlushedWhenTheHundredTwentyEighthIsAdded) {
  for (int i = 0; i < 127; ++i) addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  assembleTriangles(context.get(), nullptr, DEPTH);
  EXPECT_EQ(queuedCount(), 127u);
  EXPECT_TRUE(recordedCalls().empty());

  context->batchCount = 0;
  addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  addEntry({eye(-1, -1, 2), eye(1, -1, 2), eye(0, 1, 2)});
  assembleTriangles(context.get(), nullptr, DEPTH);
  EXPECT_EQ(queuedCount(), 1u);
  ASSERT_EQ(recordedCalls().size(), 128u);  // one half each
  for (const RecordedCall& call : recordedCalls()) {
    EXPECT_EQ(call.kind, RP_TRIANGLE);
    EXPECT_EQ(call.queuedCount, 128u);
    EXPECT_EQ(call.slot, DEPTH);
  }
}

}  // namespace
}  // namespace assembly_test
