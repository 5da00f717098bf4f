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
  List<FolderEntry> listing = {
      {".", true},           {"..", true},          {"CV32W.EXE", false},   {"schedule.exe", false},
      {"Unsetup.exe", false}, {"Corvane.dll", false}, {"Setup.run", false},   {"VProtect", true},
      {"UPDATE", true},      {"Vlist", true},       {"report.txt", false},  {"Vlist", false},
      {"CV32W.EXE", true},   {"Mine", true},
  };
  List<FolderEntry> product;
  List<FolderEntry> others;
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

#include "product/logic/journal_removal.h"

namespace {

JournalPlaces PlacesOf(const Journal& journal) {
  JournalPlaces places;
  places.installFolders = {journal.installFolder};
  places.windowsFolder = "C:\\WINDOWS";
  places.systemFolder = "c:\\windows\\system";
  places.programsFolder = "C:\\WINDOWS\\Start Menu\\Programs";
  return places;
}

}  // namespace

// From a finished install's journal: what setup made goes, a counted system
// file is left to its count, what setup replaced in the Windows or system
// folder stays, and a later run finds only what is still there, with no
// count to take off twice.
TEST(JournalRemoval, TakesWhatSetupMadeAndLeavesWhatOthersUse) {
  Journal journal;
  ASSERT_TRUE(ParseJournal(JournalHeader(1, "C:\\P\\Corvane") +
                               "D\tC:\\P\\Corvane\r\nD\tC:\\P\\Corvane\\Vlist\r\n"
                               "F\tC:\\P\\Corvane\\CV32W.EXE\r\nR\tC:\\P\\Corvane\\Schedule.EXE\tC:\\P\\Corvane\\CVB0001.TMP\r\n"
                               "F\tC:\\WINDOWS\\SYSTEM\\NEW.DLL\r\nS\tC:\\WINDOWS\\SYSTEM\\NEW.DLL\t0\t\r\n"
                               "R\tC:\\WINDOWS\\SYSTEM\\OLD.DLL\tC:\\WINDOWS\\SYSTEM\\CVB0002.TMP\r\n"
                               "S\tC:\\WINDOWS\\SYSTEM\\OLD.DLL\t1\t3\r\n"
                               "R\tC:\\WINDOWS\\SAMPLE.INI\tC:\\WINDOWS\\CVB0003.TMP\r\nF\tC:\\WINDOWS\\NEW.INI\r\n"
                               "F\tC:\\AUTOEXEC.BAT\r\nF\tC:\\WINDOWS\\Start Menu\\C.LNK\r\nF\tC:\\WINDOWS\\Start Menu\\코르바네.LNK\r\n"
                               "P\tCorvane\tInstall\t0\t\r\nK\tSOFTWARE\\K\t0\r\nOK\r\n",
                           &journal));
  JournalRemoval plan = PlanJournalRemoval(journal, PlacesOf(journal));
  // A record naming a file where setup puts none (another shortcut, a file
  // of DOS) is not followed.
  EXPECT_EQ(plan.files, (List<Text>{"C:\\WINDOWS\\Start Menu\\코르바네.LNK", "C:\\WINDOWS\\NEW.INI",
                                                  "C:\\P\\Corvane\\Schedule.EXE", "C:\\P\\Corvane\\CV32W.EXE"}));
  EXPECT_EQ(plan.sharedFiles, (List<Text>{"C:\\WINDOWS\\SYSTEM\\OLD.DLL", "C:\\WINDOWS\\SYSTEM\\NEW.DLL"}));
  EXPECT_EQ(plan.replacedSystemFiles, List<Text>{"C:\\WINDOWS\\SAMPLE.INI"});
  EXPECT_EQ(plan.folders, (List<Text>{"C:\\P\\Corvane\\Vlist", "C:\\P\\Corvane"}));
  EXPECT_EQ(plan.madeAbove, "");  // C:\P was there before

  // On disk while the files go and the counts are lowered: a run killed
  // meanwhile, or one beside this one, has neither left to do again.
  Journal during = JournalWhileRemoving(journal, plan, {"C:\\WINDOWS\\SYSTEM\\NEW.DLL"});
  JournalRemoval again = PlanJournalRemoval(during, PlacesOf(during));
  EXPECT_EQ(again.files, List<Text>{"C:\\WINDOWS\\SYSTEM\\NEW.DLL"});
  EXPECT_TRUE(again.sharedFiles.empty());
  EXPECT_EQ(again.folders, plan.folders);

  Journal second = RemainingJournal(journal, {"C:\\P\\Corvane\\Schedule.EXE", "C:\\WINDOWS\\SYSTEM\\NEW.DLL", "C:\\P\\Corvane"});
  plan = PlanJournalRemoval(second, PlacesOf(second));
  EXPECT_EQ(plan.files, (List<Text>{"C:\\WINDOWS\\SYSTEM\\NEW.DLL", "C:\\P\\Corvane\\Schedule.EXE"}));
  EXPECT_TRUE(plan.sharedFiles.empty());
  EXPECT_EQ(plan.folders, List<Text>{"C:\\P\\Corvane"});
  Text kinds;
  for (const JournalRecord& r : second.records) kinds += static_cast<char>(r.kind);
  EXPECT_EQ(kinds, "DFFPK");
}

// A folder given on the command line below folders that were not there: the
// outermost of those is the one the walk up stops at.
TEST(JournalRemoval, NamesTheOutermostFolderMadeAboveTheInstallFolder) {
  Journal journal;
  ASSERT_TRUE(ParseJournal(JournalHeader(1, "C:\\A\\B\\Corvane") +
                               "D\tC:\\A\r\nD\tC:\\A\\B\r\nD\tC:\\A\\B\\Corvane\r\nD\tC:\\A\\B\\Corvane\\Vlist\r\n"
                               "D\tC:\\AB\r\nOK\r\n",
                           &journal));
  JournalRemoval plan = PlanJournalRemoval(journal, PlacesOf(journal));
  EXPECT_EQ(plan.madeAbove, "C:\\A");
  EXPECT_EQ(plan.folders.size(), 4u);  // C:\AB is no folder of setup's
}
