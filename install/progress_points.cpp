// The copy page's bar arithmetic on manifest points.
#include "install/progress_points.h"

#include <climits>

AnimationSpan PlanAnimation(int current, int points, int* budget) {
  int steps = points < *budget ? points : *budget;
  if (steps <= 0) return {current, current};
  // Past INT_MAX there is nothing to draw, only to stop before wrapping.
  if (current > INT_MAX - steps) steps = INT_MAX - current;
  *budget -= steps;
  return {current, current + steps};
}

int AddPoints(int current, int points) {
  long long sum = static_cast<long long>(current) + points;
  if (sum > INT_MAX) return INT_MAX;
  if (sum < INT_MIN) return INT_MIN;
  return static_cast<int>(sum);
}
