// Text, List and the bounded text helpers that replace the C++ library in the
// shipped programs.
#include <gtest/gtest.h>

#include <string>

#include "common/bounded_text.h"
#include "common/list.h"

TEST(Text, EditsAndSearchesLikeStdString) {
  Text t("C:\\Program Files\\Corvane");
  std::string s = t.c_str();
  EXPECT_EQ(s.rfind('\\'), t.rfind('\\'));
  EXPECT_EQ(s.find("Files"), t.find("Files"));
  EXPECT_EQ(s.find_first_not_of("C:\\"), t.find_first_not_of("C:\\"));
  EXPECT_EQ(s.find_last_of("\\:"), t.find_last_of("\\:"));
  EXPECT_EQ(s.substr(3, 7), t.substr(3, 7).c_str());
  EXPECT_EQ(0, t.compare(0, 3, "C:\\"));

  t.insert(2, "X").erase(2, 1);
  t.replace(3, 7, "Apps");
  EXPECT_EQ(t, "C:\\Apps Files\\Corvane");
  t += '!';
  t.pop_back();
  t.resize(7);
  EXPECT_EQ("C:\\Apps" + Text("\\") + "x", "C:\\Apps\\x");
  EXPECT_TRUE(Text() == "");
  EXPECT_STREQ("", Text().c_str());
}

TEST(Text, PositionsPastTheEndReadAsTheEnd) {
  Text t("abc");
  EXPECT_EQ(t.substr(9), "");
  EXPECT_EQ(Text::npos, t.find('a', 9));
  EXPECT_EQ(Text::npos, t.find("abcd"));
  EXPECT_EQ(Text::npos, Text().rfind('a'));
  EXPECT_NE(0, t.compare(5, 2, "x"));
  t.insert(9, "d");
  EXPECT_EQ(t, "abcd");
}

TEST(Text, AppendingItselfWhileGrowingKeepsTheBytes) {
  Text t("0123456789");
  for (int i = 0; i < 6; ++i) t.append(t.c_str() + 1, t.size() - 1);
  EXPECT_EQ(t.size(), 10u + 9 * 63);
  Text u("abc");
  u.assign(u.c_str() + 1, 2);
  EXPECT_EQ(u, "bc");
  u.insert(1, u);
  EXPECT_EQ(u, "bbcc");
  u.assign(u.c_str() + 1, 2);
  Text moved = static_cast<Text&&>(u);
  EXPECT_EQ(moved, "bc");
  EXPECT_TRUE(u.empty());
}

TEST(List, KeepsItemsThroughGrowthCopyAndErase) {
  List<Text> names;
  for (int i = 0; i < 40; ++i) names.push_back(DecimalText(i));
  // An item of the list itself, while the list grows.
  names.push_back(names[0]);
  EXPECT_EQ(names.back(), "0");
  List<Text> copy = names;
  copy.erase(copy.begin() + 1, copy.begin() + 39);
  ASSERT_EQ(3u, copy.size());
  EXPECT_EQ(copy[1], "39");
  copy.insert(copy.begin(), "first");
  EXPECT_EQ(copy.front(), "first");
  EXPECT_EQ(41u, names.size());
  copy.resize(1);
  EXPECT_TRUE(copy == List<Text>{"first"});
}

TEST(BoundedText, CopiesNeverOverrun) {
  char buf[6] = "xxxxx";
  EXPECT_FALSE(CopyBounded(buf, sizeof buf, "123456"));
  EXPECT_STREQ("", buf);
  EXPECT_TRUE(CopyBounded(buf, sizeof buf, "12345"));
  EXPECT_FALSE(AppendBounded(buf, sizeof buf, "6"));
  EXPECT_STREQ("12345", buf);
  EXPECT_FALSE(CopyBounded(buf, 0, "1"));
}

TEST(BoundedText, NumbersAndAsciiCase) {
  EXPECT_EQ(SignedDecimalText(-2147483647L - 1), "-2147483648");
  EXPECT_EQ(DecimalText(4294967295UL), "4294967295");
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(7, 3), "007");
  EXPECT_EQ(HexText(0x0A, 2), "0A");
  EXPECT_EQ(HexText(0xFFFFFFFFUL, 2), "FFFFFFFF");
  EXPECT_EQ(ParseDecimal("  -42x"), -42);
  EXPECT_EQ(ParseDecimal("99999999999999999999"), static_cast<long>(~0UL >> 1));
  EXPECT_EQ(ParseDecimal(""), 0);
  // Only a to z fold: the Korean bytes stay as they are.
  EXPECT_EQ(UpperAscii("c:\\\xB0\xA1z"), "C:\\\xB0\xA1Z");
}
