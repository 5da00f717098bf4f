// The copy page's bar arithmetic on manifest points, without Win32.
#pragma once

// The most steps that the bar animation draws in one install job.
constexpr int kAnimationBudget = 100;

// The values the bar draws for one entry: from, from + 1, ..., to - 1.
struct AnimationSpan {
  int from, to;
};
// The span from `current` up by `points`, cut to what is left of `budget`,
// which it uses up.  Zero or negative points draw nothing.
AnimationSpan PlanAnimation(int current, int points, int* budget);
// current + points, held at the ends of the int range instead of wrapping.
int AddPoints(int current, int points);
