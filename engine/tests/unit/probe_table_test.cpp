// Probe handles: never 0, never confused with a closed probe, all freed at once.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/probe_table.h"

TEST(ProbeTable, HandlesFindTheirProbeUntilClosed) {
  ProbeTable table;
  uint32_t a = table.Open("a", Finding{});
  uint32_t b = table.Open("b", Finding{});
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_STREQ(table.Find(a)->path, "a");
  EXPECT_STREQ(table.Find(b)->path, "b");
  table.Close(a);
  EXPECT_EQ(table.Find(a), nullptr);
  EXPECT_STREQ(table.Find(b)->path, "b");
  table.Close(a);  // twice: nothing happens
  EXPECT_EQ(table.OpenCount(), 1u);
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_EQ(table.Find(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(table.Find(b + 1), nullptr);
}

TEST(ProbeTable, AReusedSlotGetsANewHandle) {
  ProbeTable table;
  std::set<uint32_t> seen;
  for (int i = 0; i < 1000; ++i) {
    uint32_t h = table.Open("x", Finding{});
    EXPECT_TRUE(seen.insert(h).second);
    table.Close(h);
    EXPECT_EQ(table.Find(h), nullptr);
  }
  EXPECT_EQ(table.OpenCount(), 0u);
}

TEST(ProbeTable, CloseAllInvalidatesEveryHandleForGood) {
  ProbeTable table;
  std::vector<uint32_t> before;
  for (int i = 0; i < 50; ++i) before.push_back(table.Open("left open", Finding{}));
  table.CloseAll();
  EXPECT_EQ(table.OpenCount(), 0u);
  uint32_t after = table.Open("new", Finding{});
  for (uint32_t h : before) {
    EXPECT_EQ(table.Find(h), nullptr);
    EXPECT_NE(h, after);
  }
  EXPECT_STREQ(table.Find(after)->path, "new");
}
