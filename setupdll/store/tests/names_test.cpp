// File-name rules of the support library: lookup without regard to case,
// names that would leave their folder, and bounded path building.
#include "names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool Equal(const std::string& a, const std::string& b) {
  return payload::NamesEqual(a.data(), a.size(), b.data(), b.size());
}

TEST(NamesEqual, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(Equal("cv32w.exe", "CV32W.EXE"));
  EXPECT_TRUE(Equal("Schedule.EXE", "SCHEDULE.exe"));
  EXPECT_FALSE(Equal("CV32W.EXE", "CV32W.EX"));
  EXPECT_FALSE(Equal("A_B", "A\x7F" "B"));  // '_' and DEL are not a letter pair
  EXPECT_FALSE(Equal("[", "{"));          // 0x5B and 0x7B differ by 0x20 but are no letters
}

TEST(NamesEqual, SecondByteOfAKoreanCharacterIsNotFolded) {
  // 0x81 0x41 and 0x81 0x61 are two different characters of code page 949
  // whose second bytes happen to be 'A' and 'a'.
  EXPECT_FALSE(Equal("\x81\x41.DLL", "\x81\x61.DLL"));
  EXPECT_TRUE(Equal("\x81\x41.dll", "\x81\x41.DLL"));
  EXPECT_TRUE(Equal("예약검사.lnk", "예약검사.LNK"));
  EXPECT_FALSE(Equal("예약검사.LNK", "예약검수.LNK"));
}

TEST(PlainFileName, AcceptsNamesThatStayInTheFolder) {
  for (const char* name : {"CV32W.EXE", "Schedule.EXE", "Unsetup.exe", "a..b", ".profile", "x", "코르바네.LNK",
                           "CONSOLE.EXE", "COM10", "name with blanks.txt", "\x81\x41"}) {
    EXPECT_TRUE(payload::IsPlainFileName(name)) << name;
  }
  EXPECT_TRUE(payload::IsPlainFileName(std::string(255, 'a').c_str()));
}

TEST(PlainFileName, RefusesNamesThatLeaveTheFolderOrCannotBeMade) {
  for (const char* name : {"", ".", "..", "...", "C:x", "\\x", "/x", "a\\b", "a/b", "..\\x", "x*", "x?", "a|b",
                           "a<b", "a>b", "a\"b", "name.", "name ", " name", "a\tb", "NUL", "nul.txt", "Con",
                           "COM1", "LPT9.dll", "CLOCK$", "a\x81", "\x81\x5C", "\x81\x20x"}) {
    EXPECT_FALSE(payload::IsPlainFileName(name)) << name;
  }
  EXPECT_FALSE(payload::IsPlainFileName(std::string(256, 'a').c_str()));
  EXPECT_FALSE(payload::IsPlainFileName(nullptr));
}

TEST(JoinPath, AddsOneSeparator) {
  char out[64];
  ASSERT_TRUE(payload::JoinPath(out, sizeof out, "C:\\Program Files\\Corvane", "CV32W.EXE"));
  EXPECT_STREQ("C:\\Program Files\\Corvane\\CV32W.EXE", out);
  ASSERT_TRUE(payload::JoinPath(out, sizeof out, "C:\\", "x.dll"));
  EXPECT_STREQ("C:\\x.dll", out);
  ASSERT_TRUE(payload::JoinPath(out, sizeof out, "C:\\코르바네", "x"));
  EXPECT_STREQ("C:\\코르바네\\x", out);
  EXPECT_FALSE(payload::JoinPath(out, sizeof out, "", "x"));
  EXPECT_STREQ("", out);
}

TEST(JoinPath, RefusesWhatDoesNotFit) {
  char out[9];
  ASSERT_TRUE(payload::JoinPath(out, sizeof out, "C:\\ab", "cd"));  // 8 bytes and the terminator
  EXPECT_STREQ("C:\\ab\\cd", out);
  EXPECT_FALSE(payload::JoinPath(out, sizeof out, "C:\\ab", "cde"));
  EXPECT_STREQ("", out);
}

TEST(SiblingPath, ReplacesTheLastComponent) {
  char out[32];
  ASSERT_TRUE(payload::SiblingPath(out, sizeof out, "Z:\\m\\_SETUP.DLL", "_SETUP.PAK"));
  EXPECT_STREQ("Z:\\m\\_SETUP.PAK", out);
  ASSERT_TRUE(payload::SiblingPath(out, sizeof out, "C:\\_SETUP.DLL", "_SETUP.PAK"));
  EXPECT_STREQ("C:\\_SETUP.PAK", out);
  EXPECT_FALSE(payload::SiblingPath(out, sizeof out, "_SETUP.DLL", "_SETUP.PAK"));
  EXPECT_FALSE(payload::SiblingPath(out, 15, "Z:\\m\\_SETUP.DLL", "_SETUP.PAK"));
  EXPECT_TRUE(payload::SiblingPath(out, 16, "Z:\\m\\_SETUP.DLL", "_SETUP.PAK"));
}

}  // namespace
