// Setup.run bytes and the tasks they ask for.
#include <gtest/gtest.h>

#include "isdel/tasks.h"

TEST(Tasks, EveryTaskByte) {
  unsigned char all = 0x1F;
  TaskPlan p = PlanTasks(&all, 1);
  EXPECT_TRUE(p.valid);
  EXPECT_TRUE(p.runProduct);
  EXPECT_TRUE(p.runScheduledScan);
  EXPECT_EQ(p.deferred, 0x1C);

  unsigned char none = 0x00;
  p = PlanTasks(&none, 1);
  EXPECT_TRUE(p.valid);
  EXPECT_FALSE(p.runProduct);
  EXPECT_FALSE(p.runScheduledScan);
  EXPECT_EQ(p.deferred, 0);

  unsigned char rescueAndScan = 0x0A;
  p = PlanTasks(&rescueAndScan, 1);
  EXPECT_FALSE(p.runProduct);
  EXPECT_TRUE(p.runScheduledScan);
  EXPECT_EQ(p.deferred, 0x08);
}

TEST(Tasks, AnythingElseIsNotATaskFile) {
  for (unsigned b : {0x20u, 0x40u, 0x80u, 0xFFu, 0x3Fu}) {
    unsigned char byte = static_cast<unsigned char>(b);
    EXPECT_FALSE(PlanTasks(&byte, 1).valid) << b;
  }
  unsigned char two[2] = {0x01, 0x0A};
  EXPECT_FALSE(PlanTasks(two, 2).valid);
  EXPECT_FALSE(PlanTasks(two, 0).valid);
}
