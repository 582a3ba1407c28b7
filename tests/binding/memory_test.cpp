// The allocation wrappers: exhaustion and the release of null end the
// process with their messages on standard error and exit status 1.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "binding_harness.h"
#include "runtime/memory.h"
#include "runtime/process_exit.h"

namespace {

TEST(Memory, ZeroBytesIsAnOrdinaryRequest) {
  void* block = rukAllocate(0);
  EXPECT_NE(block, nullptr);
  rukRelease(block);
}

TEST(Memory, ReallocateOfNullAllocatesAndOfZeroReleases) {
  auto* block = static_cast<uint8_t*>(rukReallocate(nullptr, 16));
  ASSERT_NE(block, nullptr);
  std::memset(block, 0x5A, 16);
  block = static_cast<uint8_t*>(rukReallocate(block, 4096));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block[i], 0x5A);
  // Released: a leak here would fail the sanitizer build.
  EXPECT_EQ(rukReallocate(block, 0), nullptr);
}

// A harness that runs programs in one process takes the library's exits
// through a hook, which must not return; without one the process ends.
TEST(ProcessExit, AHookTakesTheExitInsteadOfTheProcess) {
  struct Exited {
    int status;
  };
  rukSetExitHook([](int status) { throw Exited{status}; });
  int status = 0;
  try {
    rukRelease(nullptr);
  } catch (const Exited& exited) {
    status = exited.status;
  }
  rukSetExitHook(nullptr);
  EXPECT_EQ(status, 1);
}

TEST(MemoryDeathTest, ReleasingNullIsFatal) {
  EXPECT_EXIT(rukRelease(nullptr), testing::ExitedWithCode(1), "^Attempted to free NULL!\n$");
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool SANITIZED = true;
#else
constexpr bool SANITIZED = false;
#endif

// Limits the child's address space to what it uses now plus `spare` bytes.
void limitAddressSpace(size_t spare) {
  FILE* status = std::fopen("/proc/self/statm", "r");
  unsigned long pages = 0;
  if (status != nullptr) {
    if (std::fscanf(status, "%lu", &pages) != 1) pages = 0;
    std::fclose(status);
  }
  const rlim_t bytes = pages * 4096 + spare;
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_AS, &limit);
}

TEST(MemoryDeathTest, ExhaustionIsFatal) {
  if (SANITIZED) GTEST_SKIP() << "the sanitizer's allocator reports exhaustion itself";
  EXPECT_EXIT(
      {
        limitAddressSpace(64 << 20);
        rukAllocate(0xFFFFFFF0u);
      },
      testing::ExitedWithCode(1), "^Memory allocation failed!\n$");
}

TEST(MemoryDeathTest, FailedResizeKeepsTheBlockQuietly) {
  if (SANITIZED) GTEST_SKIP() << "the sanitizer's allocator reports exhaustion itself";
  EXPECT_EXIT(
      {
        limitAddressSpace(64 << 20);
        auto* block = static_cast<uint8_t*>(rukAllocate(16));
        block[15] = 0x77;
        void* resized = rukReallocate(block, 0xFFFFFFF0u);
        std::exit(resized == nullptr && block[15] == 0x77 ? 3 : 4);
      },
      testing::ExitedWithCode(3), "^$");
}

}  // namespace
