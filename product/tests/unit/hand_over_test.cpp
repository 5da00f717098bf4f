// The uninstaller's hand-over command line: what the original writes is
// what the copy reads, and nothing else is taken for a hand-over.
#include "product/logic/hand_over.h"

#include <gtest/gtest.h>

#include "tests/support/text_print.h"

namespace {

// The arguments part, as WinMain receives it: after the quoted program name.
Text ArgumentsOf(const Text& commandLine) {
  std::size_t end = commandLine.find('"', 1);
  std::size_t start = commandLine.find_first_not_of(' ', end + 1);
  return start == Text::npos ? "" : commandLine.substr(start);
}

TEST(HandOver, RoundTripsThroughTheCommandLine) {
  for (const Text& folder :
       {Text("C:\\Program Files\\Corvane"), Text("D:\\코르바네 폴더\\Corvane"), Text("")}) {
    Text line = HandOverCommandLine("C:\\WINDOWS\\TEMP\\~CVUN00.EXE", {4294967295ul, folder});
    EXPECT_EQ(0u, line.find("\"C:\\WINDOWS\\TEMP\\~CVUN00.EXE\" "));
    HandOver parsed = {0, "x"};
    ASSERT_TRUE(ParseHandOver(ArgumentsOf(line), &parsed)) << line;
    EXPECT_EQ(4294967295ul, parsed.parentId);
    EXPECT_EQ(folder, parsed.folder);
  }
}

TEST(HandOver, TheSwitchIsReadInAnyCaseWithExtraBlanks) {
  HandOver parsed;
  ASSERT_TRUE(ParseHandOver("  /handover\t12   \"C:\\A B\"  ", &parsed));
  EXPECT_EQ(12ul, parsed.parentId);
  EXPECT_EQ("C:\\A B", parsed.folder);
}

TEST(HandOver, AnythingElseIsNotAHandOver) {
  HandOver parsed = {7, "kept"};
  for (const char* arguments :
       {"", "/HANDOVER", "/HANDOVER 12", "/HANDOVER x12 \"C:\\A\"", "/HANDOVER -1 \"C:\\A\"",
        "/HANDOVER 4294967296 \"C:\\A\"", "/HANDOVER 12 C:\\A", "/HANDOVER 12 \"C:\\A", "/HANDOVER 12 \"C:\\A\" more",
        "/HANDOVERX 12 \"C:\\A\"", "/S", "C:\\Program Files\\Corvane"}) {
    EXPECT_FALSE(ParseHandOver(arguments, &parsed)) << arguments;
  }
  EXPECT_EQ(7ul, parsed.parentId);
  EXPECT_EQ("kept", parsed.folder);
}

TEST(CopyFileName, IsAShortNameThatWindows95CanStart) {
  EXPECT_EQ("~CVUN00.EXE", CopyFileName(0));
  EXPECT_EQ("~CVUN99.EXE", CopyFileName(99));
  EXPECT_NE(CopyFileName(1), CopyFileName(2));
}

}  // namespace

namespace {

TEST(HandOver, CleanupIsItsOwnKindOfHandOver) {
  HandOver cleanup = {7, "C:\\Program Files\\Corvane\\Unsetup.exe", true};
  HandOver parsed;
  ASSERT_TRUE(ParseHandOver(ArgumentsOf(HandOverCommandLine("C:\\T\\~CVUN01.EXE", cleanup)), &parsed));
  EXPECT_TRUE(parsed.cleanupOnly);
  EXPECT_EQ(cleanup.folder, parsed.folder);
  EXPECT_EQ("", parsed.madeAbove);
  cleanup.madeAbove = "D:\\코르바네 폴더";
  ASSERT_TRUE(ParseHandOver(ArgumentsOf(HandOverCommandLine("C:\\T\\~CVUN01.EXE", cleanup)), &parsed));
  EXPECT_EQ(cleanup.madeAbove, parsed.madeAbove);
  ASSERT_TRUE(ParseHandOver("/HANDOVER 7 \"C:\\A\"", &parsed));
  EXPECT_FALSE(parsed.cleanupOnly);
  // Only a cleanup names a second folder.
  EXPECT_FALSE(ParseHandOver("/HANDOVER 7 \"C:\\A\" \"C:\\B\"", &parsed));
  EXPECT_FALSE(ParseHandOver("/CLEANUP 7 \"C:\\A\" \"C:\\B", &parsed));
}

TEST(UnsetupSwitches, SilentAllAndALogInAnyCase) {
  UnsetupSwitches s = ParseUnsetupSwitches("/all /s /Log=\"C:\\My Logs\\out.log\"");
  EXPECT_TRUE(s.silent && s.all);
  EXPECT_EQ("C:\\My Logs\\out.log", s.log);
  EXPECT_EQ("", s.error);
  EXPECT_FALSE(ParseUnsetupSwitches("").silent);
  EXPECT_NE("", ParseUnsetupSwitches("/S /X").error);
  EXPECT_NE("", ParseUnsetupSwitches("/S /LOG=" + Text(300, 'l')).error);
}

}  // namespace
