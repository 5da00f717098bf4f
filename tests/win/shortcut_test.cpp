// Shell link files written by CreateShortcut, loaded back through the shell.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "install/shortcut.h"
#include "install/shortcut_defaults.h"
#include "support/files.h"
#include "support/links.h"

namespace {

class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = machine::TempFolder() + "shortcut_test";
    CreateDirectoryA(dir_.c_str(), NULL);
    CoInitialize(NULL);
  }
  void TearDown() override { CoUninitialize(); }

  // The link read back through the shell; one that does not load fails.
  machine::LinkView Load(const std::string& link) {
    machine::LinkView view = machine::ReadLink(link);
    EXPECT_TRUE(view.loaded) << link;
    return view;
  }

  std::string dir_;
};

TEST_F(ShortcutTest, DerivesDescriptionAndWorkingDirectory) {
  std::string link = dir_ + "\\코르바네.LNK";
  ASSERT_EQ(CreateShortcut("C:\\Program Files\\Corvane\\CV32W.EXE", link.c_str(), NULL, NULL,
                           NULL, NULL, 0),
            kShortcutWritten);
  machine::LinkView l = Load(link);
  EXPECT_EQ(l.path, "C:\\Program Files\\Corvane\\CV32W.EXE");
  EXPECT_EQ(l.directory, "C:\\Program Files\\Corvane");
  EXPECT_EQ(l.description, dir_ + "\\코르바네");
}

TEST_F(ShortcutTest, GivenValuesAreTakenAsTheyAre) {
  std::string link = dir_ + "\\given.lnk";
  ASSERT_EQ(CreateShortcut("C:\\CV32W.EXE", link.c_str(), "설명", "/scan C:\\", "D:\\Work",
                           "C:\\CV32W.EXE", 1),
            kShortcutWritten);
  machine::LinkView l = Load(link);
  EXPECT_EQ(l.description, "설명");
  EXPECT_EQ(l.directory, "D:\\Work");
  EXPECT_EQ(l.arguments, "/scan C:\\");
}

TEST_F(ShortcutTest, RootTargetGetsTheDriveAsDirectory) {
  std::string link = dir_ + "\\root.LNK";
  ASSERT_EQ(CreateShortcut("C:\\CV32W.EXE", link.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutWritten);
  EXPECT_EQ(Load(link).directory, "C:");
}

TEST_F(ShortcutTest, RefusalsWriteNothing) {
  std::string noLnk = dir_ + "\\plain.txt";
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", noLnk.c_str(), NULL, NULL, NULL, NULL, 0), kShortcutNotLnk);
  EXPECT_FALSE(machine::Exists(noLnk));

  std::string bare = dir_ + "\\bare.LNK";
  EXPECT_EQ(CreateShortcut("CV32W.EXE", bare.c_str(), NULL, NULL, NULL, NULL, 0), kShortcutNoFolder);
  EXPECT_EQ(CreateShortcut("\\CV32W.EXE", bare.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutNoFolder);
  EXPECT_FALSE(machine::Exists(bare));

  // A derived description needs a link path of at most 260 characters.
  std::string longLink = dir_ + "\\" + std::string(261 - dir_.size() - 1 - 4, 'a') + ".LNK";
  ASSERT_EQ(longLink.size(), 261u);
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", longLink.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutPathTooLong);
  // With a description given, a link path too long for the wide buffer is
  // refused as well instead of being cut.
  std::string veryLong = dir_ + "\\" + std::string(300, 'b') + ".LNK";
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", veryLong.c_str(), "d", NULL, NULL, NULL, 0),
            kShortcutPathTooLong);
}

TEST_F(ShortcutTest, LinkTestBeforeLengthTest) {
  std::string longNoLnk = "C:\\" + std::string(400, 'c') + ".txt";
  EXPECT_EQ(CreateShortcut("C:\\X.EXE", longNoLnk.c_str(), NULL, NULL, NULL, NULL, 0),
            kShortcutNotLnk);
}

TEST_F(ShortcutTest, MissingFolderFailsTheSave) {
  std::string link = dir_ + "\\no such folder\\x.LNK";
  unsigned r = CreateShortcut("C:\\X.EXE", link.c_str(), NULL, NULL, NULL, NULL, 0);
  EXPECT_TRUE(r == kShortcutFailed || r == kShortcutFail) << std::hex << r;
  EXPECT_FALSE(machine::Exists(link));
}

}  // namespace
