// What a shortcut is given when the caller leaves it out: the link test,
// the description, the working folder, and the results of failures.
#include <gtest/gtest.h>

#include "install/shortcut_defaults.h"

TEST(Shortcut, LinkTestIgnoresCaseAndPlace) {
  EXPECT_TRUE(LinkPathHasLnk("C:\\x\\a.LNK"));
  EXPECT_TRUE(LinkPathHasLnk("C:\\x\\a.lnk"));
  EXPECT_TRUE(LinkPathHasLnk("C:\\LnkFolder\\a.txt"));
  EXPECT_FALSE(LinkPathHasLnk("C:\\x\\a.LN"));
  EXPECT_FALSE(LinkPathHasLnk(""));
}

TEST(Shortcut, DescriptionDropsTheExtensionOnly) {
  Text d;
  EXPECT_EQ(DeriveDescription("C:\\G\\..\\..\\코르바네.LNK", &d), 0u);
  EXPECT_EQ(d, "C:\\G\\..\\..\\코르바네");
  EXPECT_EQ(DeriveDescription("C:\\LnkFolder\\a.txt", &d), 0u);
  EXPECT_EQ(d, "C:\\LnkFolder\\a");
  EXPECT_EQ(DeriveDescription("LNK", &d), 0u);
  EXPECT_EQ(d, "");
  EXPECT_EQ(DeriveDescription(Text(260, 'a'), &d), 0u);
  EXPECT_EQ(DeriveDescription(Text(261, 'a'), &d), kShortcutPathTooLong);
}

TEST(Shortcut, WorkingDirectoryFromTheTarget) {
  Text d;
  EXPECT_EQ(DeriveWorkingDirectory("C:\\Program Files\\Corvane\\CV32W.EXE", &d), 0u);
  EXPECT_EQ(d, "C:\\Program Files\\Corvane");
  EXPECT_EQ(DeriveWorkingDirectory("C:\\CV32W.EXE", &d), 0u);
  EXPECT_EQ(d, "C:");
  EXPECT_EQ(DeriveWorkingDirectory("C:CV32W.EXE", &d), 0u);
  EXPECT_EQ(d, "C:");
  EXPECT_EQ(DeriveWorkingDirectory("CV32W.EXE", &d), kShortcutNoFolder);
  EXPECT_EQ(DeriveWorkingDirectory("\\CV32W.EXE", &d), kShortcutNoFolder);
  EXPECT_EQ(DeriveWorkingDirectory("", &d), kShortcutNoFolder);
  EXPECT_EQ(DeriveWorkingDirectory("C:\\" + Text(258, 'a'), &d), kShortcutPathTooLong);
}

TEST(Shortcut, FailuresMapToResults) {
  EXPECT_EQ(ShortcutResultFor(static_cast<long>(0x80004005ul)), kShortcutFail);
  EXPECT_EQ(ShortcutResultFor(static_cast<long>(0x8007000Eul)), kShortcutOutOfMemory);
  EXPECT_EQ(ShortcutResultFor(static_cast<long>(0x80070005ul)), kShortcutFailed);
}
