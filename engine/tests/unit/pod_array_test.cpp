// The engine's malloc-backed array: growth keeps the values, and a size
// whose bytes cannot be counted is refused without touching the array.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/pod_array.h"

TEST(PodArray, GrowsKeepingValuesAndFillsNewEntries) {
  PodArray<uint32_t> a;
  for (uint32_t i = 0; i < 1000; ++i) ASSERT_TRUE(a.Push(i * 3));
  ASSERT_TRUE(a.Resize(1500, 7));
  EXPECT_EQ(a.Size(), 1500u);
  EXPECT_EQ(a[999], 2997u);
  EXPECT_EQ(a[1000], 7u);
  EXPECT_EQ(a[1499], 7u);
  a.Pop();
  ASSERT_TRUE(a.Resize(1500, 9));
  EXPECT_EQ(a[1499], 9u);
  a.Release();
  EXPECT_EQ(a.Size(), 0u);
  EXPECT_EQ(a.Data(), nullptr);
  EXPECT_TRUE(a.Push(5));
  EXPECT_EQ(a[0], 5u);
}

TEST(PodArray, RefusesASizeBeyondAddressableBytes) {
  PodArray<uint64_t> a;
  ASSERT_TRUE(a.Resize(3, 1));
  EXPECT_FALSE(a.Resize(SIZE_MAX / 4, 0));
  EXPECT_EQ(a.Size(), 3u);
  EXPECT_EQ(a[2], 1u);
}
