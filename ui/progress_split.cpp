// Where the progress bar's fill ends.
#include "progress_split.h"

namespace {

constexpr long long kFarthest = 0x3FFFFFFF;

// n / 100 for n below 100 * 2^32, in 32-bit steps: a 64-bit division would
// bring libgcc's helper, and its unwind tables, into the shipped program.
// The high word is below 100, so each step divides less than 100 * 2^16.
unsigned long long DivideBy100(unsigned long long n) {
  unsigned long high = static_cast<unsigned long>(n >> 32);
  unsigned long low = static_cast<unsigned long>(n & 0xFFFFFFFFu);
  unsigned long upper = (high << 16) | (low >> 16);
  unsigned long lower = ((upper % 100) << 16) | (low & 0xFFFF);
  return (static_cast<unsigned long long>(upper / 100) << 16) + lower / 100;
}

}  // namespace

int ProgressSplit(int left, int width, int percent) {
  // 64-bit product: a manifest whose points add up to something absurd must
  // not overflow.
  long long product = static_cast<long long>(width) * percent;
  unsigned long long size = product < 0 ? 0ULL - static_cast<unsigned long long>(product) : product;
  // From 2^32 on, the share is beyond the limit whatever `left` is.
  if (size >= 100ULL << 32) return product < 0 ? -kFarthest : kFarthest;
  long long share = static_cast<long long>(DivideBy100(size));
  long long x = left + (product < 0 ? -share : share);
  if (x > kFarthest) x = kFarthest;
  if (x < -kFarthest) x = -kFarthest;
  return static_cast<int>(x);
}
