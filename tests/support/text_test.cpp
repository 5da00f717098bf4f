// The tests' text helpers, natively.
#include "support/text.h"

#include <gtest/gtest.h>

namespace {

using Pieces = std::vector<std::string>;

TEST(TestText, CaseChangesAsciiLettersOnly) {
  // "코르" in code page 949: bytes above 0x7F stay as they are.
  const std::string korean = "\xC4\xDA\xB8\xA3";
  EXPECT_EQ(text::Lower("C:\\Program Files\\" + korean + "X"), "c:\\program files\\" + korean + "x");
  EXPECT_EQ(text::Upper("setup.run" + korean), "SETUP.RUN" + korean);
  EXPECT_TRUE(text::SameText("C:\\CD\\_SETUP.DLL", "c:\\cd\\_setup.dll"));
  EXPECT_FALSE(text::SameText("C:\\CD", "C:\\CD\\"));
}

TEST(TestText, SplitKeepsEmptyPieces) {
  EXPECT_EQ(text::Split("a\t\tb", "\t"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(text::Split("", " "), Pieces{""});
  EXPECT_EQ(text::Split("x\r\n", "\r\n"), (Pieces{"x", ""}));
}

TEST(TestText, LinesEndAtTheLastCrLf) {
  EXPECT_EQ(text::Lines(""), Pieces{});
  EXPECT_EQ(text::Lines("on\r\noff\r\n"), (Pieces{"on", "off"}));
  EXPECT_EQ(text::Lines("a\r\n\r\nb"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(text::Lines("a\nb"), Pieces{"a\nb"});
}

TEST(TestText, FormatsLikePrintf) {
  EXPECT_EQ(text::Format("%s %zu %lld %02X", "x", size_t{7}, -5ll, 10), "x 7 -5 0A");
  EXPECT_EQ(text::Format("%s", std::string(5000, 'y').c_str()).size(), 5000u);
  EXPECT_TRUE(text::StartsWith("검사 완료: 1", "검사 완료"));
  EXPECT_FALSE(text::StartsWith("검사", "검사 완료"));
}

}  // namespace
