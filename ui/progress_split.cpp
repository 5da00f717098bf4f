// Where the progress bar's fill ends.
#include "progress_split.h"

int ProgressSplit(int left, int width, int percent) {
  // 64-bit product: a manifest whose points add up to something absurd must
  // not overflow.
  long long x = left + static_cast<long long>(width) * percent / 100;
  if (x > 0x3FFFFFFF) x = 0x3FFFFFFF;
  if (x < -0x3FFFFFFF) x = -0x3FFFFFFF;
  return static_cast<int>(x);
}
