// The copy page's bar arithmetic on manifest points: the animation's budget,
// and sums held at the ends of the int range.
#include <gtest/gtest.h>

#include <climits>

#include "install/progress_points.h"

TEST(Progress, AnimationStopsAfterAHundredStepsAndNothingWraps) {
  int budget = kAnimationBudget;
  AnimationSpan s = PlanAnimation(0, 40, &budget);
  EXPECT_EQ(s.from, 0);
  EXPECT_EQ(s.to, 40);
  s = PlanAnimation(40, 100000, &budget);
  EXPECT_EQ(s.to - s.from, 60);
  EXPECT_EQ(PlanAnimation(100040, 5, &budget).to, 100040);
  EXPECT_EQ(PlanAnimation(0, -5, &budget).to, 0);

  budget = kAnimationBudget;
  s = PlanAnimation(INT_MAX - 3, 50, &budget);
  EXPECT_EQ(s.to, INT_MAX);
  EXPECT_EQ(AddPoints(INT_MAX - 3, INT_MAX), INT_MAX);
  EXPECT_EQ(AddPoints(INT_MIN + 1, -5), INT_MIN);
  EXPECT_EQ(AddPoints(40, 60), 100);
}
