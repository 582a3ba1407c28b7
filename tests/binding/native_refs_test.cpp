// The reference table: references name one record of one kind while live;
// revoked, forged and other-kind references resolve to nothing.
#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "binding_harness.h"

namespace {

int recordA, recordB;

TEST(NativeRefs, ZeroIsNoneAndValid) {
  bool valid = false;
  EXPECT_EQ(nativeRefResolve(0, NativeKind::Context, &valid), nullptr);
  EXPECT_TRUE(valid);
  EXPECT_FALSE(nativeRefRevoke(0, NativeKind::Context));
}

TEST(NativeRefs, LiveReferenceResolvesForItsKindOnly) {
  const uint32_t reference = nativeRefIssue(NativeKind::Texture, &recordA);
  EXPECT_NE(reference, 0u);
  bool valid = false;
  EXPECT_EQ(nativeRefResolve(reference, NativeKind::Texture, &valid), &recordA);
  EXPECT_TRUE(valid);
  for (NativeKind other : {NativeKind::Device, NativeKind::Context, NativeKind::Model}) {
    EXPECT_EQ(nativeRefResolve(reference, other, &valid), nullptr);
    EXPECT_FALSE(valid);
    EXPECT_FALSE(nativeRefRevoke(reference, other));
  }
  EXPECT_TRUE(nativeRefRevoke(reference, NativeKind::Texture));
}

TEST(NativeRefs, RevokedReferenceNeverResolvesAgain) {
  const uint32_t reference = nativeRefIssue(NativeKind::Model, &recordA);
  EXPECT_TRUE(nativeRefRevoke(reference, NativeKind::Model));
  EXPECT_FALSE(nativeRefRevoke(reference, NativeKind::Model));
  // However many records come and go afterwards.
  std::vector<uint32_t> live;
  for (int round = 0; round < 2000; ++round) {
    const uint32_t other = nativeRefIssue(NativeKind::Model, &recordB);
    EXPECT_NE(other, reference);
    if (round % 3 == 0) {
      live.push_back(other);
    } else {
      nativeRefRevoke(other, NativeKind::Model);
    }
    bool valid = true;
    ASSERT_EQ(nativeRefResolve(reference, NativeKind::Model, &valid), nullptr);
    ASSERT_FALSE(valid);
  }
  for (uint32_t other : live) {
    EXPECT_EQ(nativeRefResolve(other, NativeKind::Model), &recordB);
    nativeRefRevoke(other, NativeKind::Model);
  }
}

TEST(NativeRefs, SmallIntegersAndForgedWordsResolveToNothing) {
  const uint32_t reference = nativeRefIssue(NativeKind::Device, &recordA);
  for (uint32_t forged :
       {1u, 2u, 7u, 255u, 0xFFFFFu, 0xFFFFFFFFu, 0x80000000u, reference ^ 0x00100000u, reference + 1}) {
    bool valid = true;
    EXPECT_EQ(nativeRefResolve(forged, NativeKind::Device, &valid), nullptr) << std::hex << forged;
    EXPECT_FALSE(valid);
  }
  nativeRefRevoke(reference, NativeKind::Device);
}

TEST(NativeRefs, FreedSlotsAreNotReissuedSoon) {
  std::set<uint32_t> seen;
  for (int i = 0; i < 200; ++i) {
    const uint32_t reference = nativeRefIssue(NativeKind::Context, &recordA);
    EXPECT_TRUE(seen.insert(reference & 0xFFFFF).second) << "slot reused after " << i << " issues";
    nativeRefRevoke(reference, NativeKind::Context);
  }
}

TEST(NativeRefs, LookupsRunBesideIssueAndRevoke) {
  const uint32_t stable = nativeRefIssue(NativeKind::Context, &recordA);
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::thread reader([&] {
    while (!stop.load()) {
      if (nativeRefResolve(stable, NativeKind::Context) != &recordA) ++wrong;
    }
  });
  std::vector<std::thread> churn;
  for (int t = 0; t < 2; ++t) {
    churn.emplace_back([&] {
      for (int i = 0; i < 5000; ++i) {
        const uint32_t reference = nativeRefIssue(NativeKind::Model, &recordB);
        if (nativeRefResolve(reference, NativeKind::Model) != &recordB) ++wrong;
        nativeRefRevoke(reference, NativeKind::Model);
        if (nativeRefResolve(reference, NativeKind::Model) != nullptr) ++wrong;
      }
    });
  }
  for (std::thread& thread : churn) thread.join();
  stop = true;
  reader.join();
  EXPECT_EQ(wrong.load(), 0);
  nativeRefRevoke(stable, NativeKind::Context);
}

}  // namespace
