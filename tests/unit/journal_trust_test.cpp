// What a journal may lead the rollback and the uninstaller to: a sweep of
// records that setup writes and of records that a damaged or changed
// journal could hold.
#include <gtest/gtest.h>

#include "install/journal_trust.h"

namespace {

JournalPlaces Places() {
  JournalPlaces places;
  places.installFolders = {"C:\\Program Files\\Corvane", "C:\\PROGRA~1\\CORVANE"};
  places.windowsFolder = "C:\\WINDOWS";
  places.systemFolder = "C:\\WINDOWS\\SYSTEM";
  places.programsFolder = "C:\\WINDOWS\\Start Menu\\Programs";
  return places;
}

JournalRecord File(const char* path) { return {JournalKind::File, path}; }
JournalRecord Folder(const char* path) { return {JournalKind::Folder, path}; }
JournalRecord Replaced(const char* path, const char* aside) { return {JournalKind::Replaced, path, aside}; }

}  // namespace

TEST(JournalTrust, SetupsOwnPlacesAreFollowed) {
  const JournalPlaces places = Places();
  const JournalRecord followed[] = {
      Folder("C:\\Program Files\\Corvane"),
      Folder("C:\\Program Files\\Corvane\\Vlist"),
      Folder("C:\\Program Files"),  // made above a folder given on the command line
      Folder("C:\\WINDOWS\\Start Menu\\Programs\\코르바네™ for Win9X"),
      File("c:\\program files\\corvane\\CV32W.EXE"),
      File("C:\\PROGRA~1\\CORVANE\\Setup.run"),
      File("C:\\WINDOWS\\SYSTEM\\CVAPI.DLL"),
      File("C:\\WINDOWS\\CORVANE.INI"),
      File("C:\\WINDOWS\\Start Menu\\Programs\\코르바네™ for Win9X\\..\\..\\코르바네.LNK"),
      File("C:\\WINDOWS\\Start Menu\\Programs\\시작프로그램\\예약검사.LNK"),
      File("C:\\WINDOWS\\Start Menu\\Programs\\코르바네™ for Win9X\\읽어보기.LNK"),
      Replaced("C:\\WINDOWS\\SYSTEM\\CVAPI.DLL", "C:\\WINDOWS\\SYSTEM\\CVB0A1F.TMP"),
      {JournalKind::InUse, "C:\\Program Files\\Corvane\\A.DLL", "C:\\Program Files\\Corvane\\cvbffff.tmp"},
      {JournalKind::Shared, "C:\\WINDOWS\\SYSTEM\\CVAPI.DLL", "", true, "3"},
      {JournalKind::Profile, "corvane", "Install", false, ""},
      {JournalKind::Key, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98", "", false},
      {JournalKind::Value, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98",
       "DisplayName", false, ""},
  };
  for (const JournalRecord& r : followed) EXPECT_TRUE(MayFollow(r, places)) << r.target.c_str() << " " << r.name.c_str();
}

TEST(JournalTrust, AnythingElseIsSkipped) {
  const JournalPlaces places = Places();
  const JournalRecord skipped[] = {
      File("C:\\Program Files\\Corvane\\..\\..\\AUTOEXEC.BAT"),
      File("C:\\Program Files\\Corvane\\...\\x.dll"),  // two levels up on Windows 95
      File("C:\\Program Files\\Corvane2\\x.exe"),
      File("C:\\Program Files\\Corvane\\x.exe:stream"),
      File("C:\\Program Files\\Corvane\\*.*"),
      File("Program Files\\Corvane\\x.exe"),
      File("C:\\WINDOWS\\SYSTEM\\IOSUBSYS\\x.vxd"),  // below the system folder
      File("C:\\WINDOWS\\Desktop\\x.LNK"),
      File("C:\\WINDOWS\\Start Menu\\Programs\\코르바네™ for Win9X\\x.PIF"),
      File("C:\\WINDOWS\\Start Menu\\Programs\\Other\\x.LNK"),
      Folder("C:\\"),
      Folder("C:\\WINDOWS"),
      Folder("C:\\WINDOWS\\Start Menu\\Programs\\Other"),
      Replaced("C:\\WINDOWS\\SYSTEM\\CVAPI.DLL", "C:\\WINDOWS\\CVB0001.TMP"),  // aside in another folder
      Replaced("C:\\WINDOWS\\SYSTEM\\CVAPI.DLL", "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL"),
      Replaced("C:\\WINDOWS\\SYSTEM\\CVAPI.DLL", "C:\\WINDOWS\\SYSTEM\\CVB00G1.TMP"),
      {JournalKind::Shared, "C:\\WINDOWS\\CVAPI.DLL", "", true, "3"},
      {JournalKind::Profile, "windows", "run", true, "x"},
      {JournalKind::Key, "SOFTWARE\\Microsoft\\Windows", "", false},
      {JournalKind::Value, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "x", false, ""},
  };
  for (const JournalRecord& r : skipped) EXPECT_FALSE(MayFollow(r, places)) << r.target.c_str() << " " << r.name.c_str();

  // An install folder that the folder guard refuses: nothing at all.
  JournalPlaces refused = places;
  refused.installFolders.clear();
  EXPECT_FALSE(MayFollow(File("C:\\Program Files\\Corvane\\CV32W.EXE"), refused));

  Journal j;
  j.records = {File("C:\\Program Files\\Corvane\\x\\..\\CV32W.EXE"), File("C:\\x.exe")};
  List<JournalRecord> left;
  Journal trusted = TrustedJournal(j, places, &left);
  ASSERT_EQ(trusted.records.size(), 1u);
  EXPECT_EQ(trusted.records[0].target, "C:\\Program Files\\Corvane\\CV32W.EXE");  // acted on as judged
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].target, "C:\\x.exe");
}

// Outside the install folder a file goes only while it is the run's.
TEST(JournalTrust, AFileOutsideIsTheRunsWhileItIsAsTheRunLeftIt) {
  Journal j;
  j.started = 1000000000ull;
  j.records = {File("C:\\WINDOWS\\SYSTEM\\A.DLL"), StampRecord("C:\\WINDOWS\\SYSTEM\\A.DLL", 100, 5000000000ull)};
  FileFacts facts{100, 1000000000ull, 5000000000ull};
  EXPECT_TRUE(StillTheRunsFile(j, "C:\\WINDOWS\\SYSTEM\\A.DLL", facts));
  facts.written += 1;
  EXPECT_FALSE(StillTheRunsFile(j, "C:\\WINDOWS\\SYSTEM\\A.DLL", facts));  // another program's copy
  // Without its size record: the file being made when the run stopped, or
  // one made since it started, or not the run's.
  EXPECT_TRUE(StillTheRunsFile(j, "C:\\WINDOWS\\SYSTEM\\B.DLL", {7, j.started, 0}));
  EXPECT_FALSE(StillTheRunsFile(j, "C:\\WINDOWS\\SYSTEM\\B.DLL", {7, j.started - 30000000ull, 0}));
  j.records.push_back(File("C:\\WINDOWS\\SYSTEM\\B.DLL"));
  EXPECT_TRUE(StillTheRunsFile(j, "C:\\WINDOWS\\SYSTEM\\B.DLL", {7, j.started - 30000000ull, 0}));
  // Made twice (a link named twice): once the second making is undone, the
  // first one's file is judged by the first one's size record.
  j.records = {File("C:\\WINDOWS\\A.LNK"), StampRecord("C:\\WINDOWS\\A.LNK", 100, 5000000000ull),
               Replaced("C:\\WINDOWS\\A.LNK", "C:\\WINDOWS\\CVB0A1F.TMP"),
               StampRecord("C:\\WINDOWS\\A.LNK", 200, 6000000000ull)};
  EXPECT_TRUE(StillTheRunsFile(UpToReadiedAgain(j, 0), "C:\\WINDOWS\\A.LNK", {100, j.started, 5000000000ull}));
  EXPECT_FALSE(StillTheRunsFile(UpToReadiedAgain(j, 0), "C:\\WINDOWS\\A.LNK", {200, j.started, 6000000000ull}));
  EXPECT_TRUE(StillTheRunsFile(UpToReadiedAgain(j, 2), "C:\\WINDOWS\\A.LNK", {200, j.started, 6000000000ull}));
  EXPECT_TRUE(InsideInstallFolder("C:\\PROGRA~1\\CORVANE\\x", Places()));
  EXPECT_FALSE(InsideInstallFolder("C:\\WINDOWS\\SYSTEM\\A.DLL", Places()));
}
