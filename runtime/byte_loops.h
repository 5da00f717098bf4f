// The byte loops behind the shipped programs' memcpy, memmove, memset and
// memcmp, platform-free so that the host build tests them under the
// sanitizers.  Whatever includes this must be built without loop-pattern
// detection (-fno-tree-loop-distribute-patterns), or GCC turns each loop back
// into a call to the function it implements.
#pragma once
#include <stddef.h>

namespace byte_loops {

inline void* Copy(void* to, const void* from, size_t n) {
  unsigned char* out = static_cast<unsigned char*>(to);
  const unsigned char* in = static_cast<const unsigned char*>(from);
  while (n--) *out++ = *in++;
  return to;
}

// Copies correctly when the two blocks overlap, in either direction.
inline void* Move(void* to, const void* from, size_t n) {
  unsigned char* out = static_cast<unsigned char*>(to);
  const unsigned char* in = static_cast<const unsigned char*>(from);
  if (out < in) {
    while (n--) *out++ = *in++;
  } else {
    while (n--) out[n] = in[n];
  }
  return to;
}

inline void* Fill(void* to, int value, size_t n) {
  unsigned char* out = static_cast<unsigned char*>(to);
  while (n--) *out++ = static_cast<unsigned char>(value);
  return to;
}

// Compares as unsigned bytes: below zero when a sorts first.
inline int Compare(const void* a, const void* b, size_t n) {
  const unsigned char* x = static_cast<const unsigned char*>(a);
  const unsigned char* y = static_cast<const unsigned char*>(b);
  for (; n--; ++x, ++y)
    if (*x != *y) return *x < *y ? -1 : 1;
  return 0;
}

inline size_t Length(const char* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace byte_loops
