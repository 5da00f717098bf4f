// Manifest keys and prefixes, shortcut defaults, and which processes belong
// to the product.
#include <gtest/gtest.h>

#include <string>

#include "install/manifest_entry.h"
#include "install/process_match.h"
#include "install/shortcut_defaults.h"

TEST(Manifest, KeysGrowPastThreeDigits) {
  EXPECT_EQ(ManifestKey(1), "SETUP001");
  EXPECT_EQ(ManifestKey(42), "SETUP042");
  EXPECT_EQ(ManifestKey(999), "SETUP999");
  EXPECT_EQ(ManifestKey(1000), "SETUP1000");
}

TEST(Manifest, PrefixesChooseFolderAndSkipRule) {
  ResolvedEntry e = ResolveEntry("CV32W.EXE");
  EXPECT_EQ(e.folder, TargetFolder::Install);
  EXPECT_FALSE(e.skipIfPresent);
  EXPECT_EQ(e.name, "CV32W.EXE");

  e = ResolveEntry("%SSAMPLE.DLL");
  EXPECT_EQ(e.folder, TargetFolder::System);
  EXPECT_TRUE(e.skipIfPresent);
  EXPECT_EQ(e.name, "SAMPLE.DLL");

  e = ResolveEntry("%sSAMPLE.DLL");
  EXPECT_EQ(e.folder, TargetFolder::System);
  EXPECT_FALSE(e.skipIfPresent);

  e = ResolveEntry("%WSAMPLE.INI");
  EXPECT_EQ(e.folder, TargetFolder::Windows);
  EXPECT_TRUE(e.skipIfPresent);

  e = ResolveEntry("%wSAMPLE.INI");
  EXPECT_EQ(e.folder, TargetFolder::Windows);
  EXPECT_FALSE(e.skipIfPresent);
  EXPECT_EQ(e.name, "SAMPLE.INI");
}

TEST(Manifest, UnknownPrefixInstallsIntoTheInstallFolder) {
  ResolvedEntry e = ResolveEntry("%xREADME.TXT");
  EXPECT_EQ(e.folder, TargetFolder::Install);
  EXPECT_FALSE(e.skipIfPresent);
  EXPECT_EQ(e.name, "README.TXT");
  e = ResolveEntry("%");
  EXPECT_EQ(e.folder, TargetFolder::Install);
  EXPECT_EQ(e.name, "");
  e = ResolveEntry("");
  EXPECT_EQ(e.name, "");
}

TEST(Shortcut, LinkTestIgnoresCaseAndPlace) {
  EXPECT_TRUE(LinkPathHasLnk("C:\\x\\a.LNK"));
  EXPECT_TRUE(LinkPathHasLnk("C:\\x\\a.lnk"));
  EXPECT_TRUE(LinkPathHasLnk("C:\\LnkFolder\\a.txt"));
  EXPECT_FALSE(LinkPathHasLnk("C:\\x\\a.LN"));
  EXPECT_FALSE(LinkPathHasLnk(""));
}

TEST(Shortcut, DescriptionDropsTheExtensionOnly) {
  std::string d;
  EXPECT_EQ(DeriveDescription("C:\\G\\..\\..\\코르바네.LNK", &d), 0u);
  EXPECT_EQ(d, "C:\\G\\..\\..\\코르바네");
  EXPECT_EQ(DeriveDescription("C:\\LnkFolder\\a.txt", &d), 0u);
  EXPECT_EQ(d, "C:\\LnkFolder\\a");
  EXPECT_EQ(DeriveDescription("LNK", &d), 0u);
  EXPECT_EQ(d, "");
  EXPECT_EQ(DeriveDescription(std::string(260, 'a'), &d), 0u);
  EXPECT_EQ(DeriveDescription(std::string(261, 'a'), &d), kShortcutPathTooLong);
}

TEST(Shortcut, WorkingDirectoryFromTheTarget) {
  std::string d;
  EXPECT_EQ(DeriveWorkingDirectory("C:\\Program Files\\Corvane\\CV32W.EXE", &d), 0u);
  EXPECT_EQ(d, "C:\\Program Files\\Corvane");
  EXPECT_EQ(DeriveWorkingDirectory("C:\\CV32W.EXE", &d), 0u);
  EXPECT_EQ(d, "C:");
  EXPECT_EQ(DeriveWorkingDirectory("C:CV32W.EXE", &d), 0u);
  EXPECT_EQ(d, "C:");
  EXPECT_EQ(DeriveWorkingDirectory("CV32W.EXE", &d), kShortcutNoFolder);
  EXPECT_EQ(DeriveWorkingDirectory("\\CV32W.EXE", &d), kShortcutNoFolder);
  EXPECT_EQ(DeriveWorkingDirectory("", &d), kShortcutNoFolder);
  EXPECT_EQ(DeriveWorkingDirectory("C:\\" + std::string(258, 'a'), &d), kShortcutPathTooLong);
}

TEST(Shortcut, FailuresMapToResults) {
  EXPECT_EQ(ShortcutResultFor(static_cast<long>(0x80004005ul)), kShortcutFail);
  EXPECT_EQ(ShortcutResultFor(static_cast<long>(0x8007000Eul)), kShortcutOutOfMemory);
  EXPECT_EQ(ShortcutResultFor(static_cast<long>(0x80070005ul)), kShortcutFailed);
}

TEST(Processes, SubstringMatchInAnyCaseSparingSetup) {
  const std::string folder = "C:\\Program Files\\Corvane";
  EXPECT_TRUE(IsProductProcess("c:\\program files\\corvane\\cv32w.exe", folder));
  EXPECT_TRUE(IsProductProcess("C:\\PROGRAM FILES\\CORVANE2\\X.EXE", folder));
  EXPECT_FALSE(IsProductProcess("C:\\PROGRAM FILES\\CORVANE\\UNSETUP.EXE", folder));
  EXPECT_FALSE(IsProductProcess("D:\\CD\\SETUP.EXE", folder));
  EXPECT_FALSE(IsProductProcess("C:\\WINDOWS\\EXPLORER.EXE", folder));
  EXPECT_FALSE(IsProductProcess("C:\\ANYTHING.EXE", ""));
  // Only ASCII letters change case; Korean bytes are compared as they are.
  EXPECT_EQ(UpperAscii("c:\\\xc4\xda\xb8\xa3x"), "C:\\\xc4\xda\xb8\xa3X");
}

#include "install/cleanup_plan.h"

TEST(Cleanup, NewFolderGoesWhole) {
  CopyRunRecord r;
  r.installFolder = "C:\\Program Files\\Corvane";
  r.folderCreated = true;
  r.createdSubfolders = {"C:\\Program Files\\Corvane\\Vlist"};
  r.installedFiles = {"C:\\Program Files\\Corvane\\CV32W.EXE"};
  CleanupPlan p = PlanCleanup(r);
  ASSERT_EQ(p.deltreeCommands.size(), 1u);
  EXPECT_EQ(p.deltreeCommands[0], "deltree /y \"C:\\Program Files\\Corvane\"");
  EXPECT_TRUE(p.filesToDelete.empty());
}

TEST(Cleanup, ExistingFolderLosesOnlyThisRunsWork) {
  CopyRunRecord r;
  r.installFolder = "D:\\Corvane";
  r.folderCreated = false;
  r.createdSubfolders = {"D:\\Corvane\\Update"};
  r.installedFiles = {"D:\\Corvane\\CV32W.EXE", "D:\\Corvane\\Schedule.EXE"};
  CleanupPlan p = PlanCleanup(r);
  EXPECT_EQ(p.deltreeCommands, std::vector<std::string>{"deltree /y \"D:\\Corvane\\Update\""});
  EXPECT_EQ(p.filesToDelete, r.installedFiles);
}
