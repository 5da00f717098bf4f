// The shipped programs' memcpy, memmove, memset and memcmp loops.
#include "runtime/byte_loops.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ByteLoops, CopyMoveFillAndCompareAgreeWithTheCLibrary) {
  unsigned char block[64], expected[64];
  for (int i = 0; i < 64; ++i) block[i] = expected[i] = static_cast<unsigned char>(i * 7);

  // Overlaps in both directions, and nothing at all.
  byte_loops::Move(block + 3, block, 40);
  std::memmove(expected + 3, expected, 40);
  EXPECT_EQ(0, std::memcmp(block, expected, 64));
  byte_loops::Move(block, block + 5, 50);
  std::memmove(expected, expected + 5, 50);
  EXPECT_EQ(0, std::memcmp(block, expected, 64));
  byte_loops::Copy(block, nullptr, 0);
  byte_loops::Fill(block + 60, 0xE0, 4);
  std::memset(expected + 60, 0xE0, 4);
  EXPECT_EQ(0, std::memcmp(block, expected, 64));

  // Bytes compare unsigned: a Korean lead byte sorts after ASCII.
  const char a[] = "\xB0\xA1", b[] = "A";
  EXPECT_GT(byte_loops::Compare(a, b, 1), 0);
  EXPECT_LT(byte_loops::Compare(b, a, 1), 0);
  EXPECT_EQ(0, byte_loops::Compare(a, b, 0));
  EXPECT_EQ(2u, byte_loops::Length(a));
}
