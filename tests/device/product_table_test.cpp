// The process-wide product table.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "device/product_table.h"

namespace {

TEST(ProductTable, HoldsRoundedProducts) {
  ASSERT_TRUE(buildProductTable());
  EXPECT_EQ(productTable8[255 * 256 + 255], 255);
  EXPECT_EQ(productTable8[128 * 256 + 128], 64);
  EXPECT_EQ(productTable8[1 * 256 + 127], 1);  // (127 + 128) / 255
  EXPECT_EQ(productTable8[1 * 256 + 126], 0);  // (126 + 128) / 255
  EXPECT_EQ(productTable8[1 * 256 + 1], 0);
  EXPECT_EQ(productTable8[0 * 256 + 255], 0);
  EXPECT_EQ(productTable8[200 * 256 + 100], 78);  // (20000 + 128) / 255 = 78.9
  EXPECT_EQ(productRow(100)[200], 78);
  EXPECT_EQ(productRow(255)[77], 77);
}

TEST(ProductTable, BuildsOnceWhenManyThreadsAsk) {
  std::vector<std::thread> threads;
  std::vector<char> results(8, 0);
  for (size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&results, i] { results[i] = buildProductTable() ? 1 : 0; });
  }
  for (std::thread& t : threads) t.join();
  for (char r : results) EXPECT_EQ(r, 1);
  EXPECT_EQ(productTable8[128 * 256 + 128], 64);
}

}  // namespace
