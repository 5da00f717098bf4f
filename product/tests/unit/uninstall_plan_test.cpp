// What the uninstaller removes: which install folder, which group and
// shortcuts, and which entries of the install folder are the product's.
#include "product/logic/uninstall_plan.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseInstallFolder, TheRecordWinsOverTheUninstallersOwnFolder) {
  EXPECT_EQ("D:\\Apps\\Corvane", ChooseInstallFolder("D:\\Apps\\Corvane", "C:\\Program Files\\Corvane", true));
}

TEST(ChooseInstallFolder, WithoutRecordOnlyAFolderThatIsPlainlyTheProducts) {
  // A setup that failed half-way records nothing.
  EXPECT_EQ("C:\\X\\Stuff", ChooseInstallFolder("", "C:\\X\\Stuff", true));
  EXPECT_EQ("C:\\Program Files\\corvane", ChooseInstallFolder("", "C:\\Program Files\\corvane", false));
  EXPECT_EQ("", ChooseInstallFolder("", "C:\\Downloads", false));
  EXPECT_EQ("", ChooseInstallFolder("", "C:\\Corvane2", false));
  EXPECT_EQ("", ChooseInstallFolder("", "", true));
}

TEST(ChooseGroupFolder, RecordedElseWhereSetupMakesIt) {
  EXPECT_EQ("C:\\S\\P\\G", ChooseGroupFolder("C:\\S\\P\\G", "C:\\windows\\Start Menu\\Programs"));
  EXPECT_EQ("C:\\windows\\Start Menu\\Programs\\코르바네™ for Win9X",
            ChooseGroupFolder("", "C:\\windows\\Start Menu\\Programs"));
  EXPECT_EQ("C:\\P\\코르바네™ for Win9X", ChooseGroupFolder("", "C:\\P\\"));
  EXPECT_EQ("", ChooseGroupFolder("", ""));
}

TEST(FixedLinksOf, AreBesideTheGroupWhereSetupPutsThem) {
  FixedLinks links = FixedLinksOf("C:\\windows\\Start Menu\\Programs\\코르바네™ for Win9X");
  EXPECT_EQ("C:\\windows\\Start Menu\\코르바네.LNK", links.mainProgram);
  EXPECT_EQ("C:\\windows\\Start Menu\\Programs\\시작프로그램\\예약검사.LNK", links.scheduledScan);
  FixedLinks none = FixedLinksOf("");
  EXPECT_EQ("", none.mainProgram);
  EXPECT_EQ("", none.scheduledScan);
}

TEST(SplitEntries, KnownFilesAndFoldersAreTheProductsTheRestTheUsers) {
  std::vector<FolderEntry> listing = {
      {".", true},           {"..", true},          {"CV32W.EXE", false},   {"schedule.exe", false},
      {"Unsetup.exe", false}, {"Corvane.dll", false}, {"Setup.run", false},   {"VProtect", true},
      {"UPDATE", true},      {"Vlist", true},       {"report.txt", false},  {"Vlist", false},
      {"CV32W.EXE", true},   {"Mine", true},
  };
  std::vector<FolderEntry> product;
  std::vector<FolderEntry> others;
  SplitEntries(listing, &product, &others);
  ASSERT_EQ(8u, product.size());
  EXPECT_EQ("CV32W.EXE", product[0].name);
  EXPECT_EQ("Vlist", product[7].name);
  // A file named like a product folder, a folder named like a product file,
  // and anything unknown are the user's.
  ASSERT_EQ(4u, others.size());
  EXPECT_EQ("report.txt", others[0].name);
  EXPECT_EQ("Vlist", others[1].name);
  EXPECT_FALSE(others[1].isFolder);
  EXPECT_EQ("CV32W.EXE", others[2].name);
  EXPECT_EQ("Mine", others[3].name);
}

TEST(IsProductEntry, TheInstallersPendingReplacementIsTheProducts) {
  EXPECT_TRUE(IsProductEntry({"CVS0A1F.TMP", false}));
  EXPECT_TRUE(IsProductEntry({"cvs00ff.tmp", false}));
  EXPECT_FALSE(IsProductEntry({"CVS0A1G.TMP", false}));
  EXPECT_FALSE(IsProductEntry({"CVS0A1.TMP", false}));
  EXPECT_FALSE(IsProductEntry({"CVS0A1FF.TMP", false}));
  EXPECT_FALSE(IsProductEntry({"XVS0A1F.TMP", false}));
  EXPECT_FALSE(IsProductEntry({"CVS0A1F.TMP", true}));
}

TEST(IsShortcutName, LinksAndPifsInAnyCase) {
  EXPECT_TRUE(IsShortcutName("Unsetup.LNK"));
  EXPECT_TRUE(IsShortcutName("코르바네 제거.lnk"));
  EXPECT_TRUE(IsShortcutName("dos.pif"));
  EXPECT_FALSE(IsShortcutName("readme.txt"));
  EXPECT_FALSE(IsShortcutName("LNK"));
}

}  // namespace
