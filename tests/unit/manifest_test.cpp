// Manifest keys and the prefixes that choose an entry's folder and skip rule.
#include <gtest/gtest.h>

#include "install/manifest_entry.h"

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
