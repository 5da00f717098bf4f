// The install journal as text: records read back as written, a line cut by a
// crash, the orders of undoing and rolling back, size stamps, and the
// removal commands for the folders a run made.
#include <gtest/gtest.h>

#include <stdint.h>

#include "install/journal.h"

namespace {

Journal Parsed(const Text& text) {
  Journal journal;
  EXPECT_TRUE(ParseJournal(text, &journal));
  return journal;
}

Text Written(const Journal& j) {
  Text text = JournalHeader(j.started, j.installFolder);
  for (const JournalRecord& r : j.records) text += JournalLine(r);
  return text;
}

}  // namespace

TEST(Journal, RecordsReadBackAsWritten) {
  Journal j;
  j.started = 0x01D9ABCDEF012345ull;
  j.installFolder = "C:\\Program Files\\코르바네";
  j.records = {
      {JournalKind::Folder, "C:\\Program Files\\코르바네"},
      {JournalKind::Replaced, "C:\\WINDOWS\\SYSTEM\\A 100%.DLL", "C:\\WINDOWS\\SYSTEM\\CVB0001.TMP"},
      // Old values may hold what a line cannot: they survive escaped.
      {JournalKind::Profile, "Corvane", "Install", true, "x\ty\r\nz%41"},
      {JournalKind::Value, "SOFTWARE\\K", "DisplayName", false, ""},
      {JournalKind::Key, "SOFTWARE\\K", "", true},
  };
  Journal back = Parsed(Written(j));
  EXPECT_EQ(back.started, j.started);
  EXPECT_EQ(back.installFolder, j.installFolder);
  ASSERT_EQ(back.records.size(), j.records.size());
  for (size_t i = 0; i < j.records.size(); ++i) {
    EXPECT_EQ(back.records[i].kind, j.records[i].kind);
    EXPECT_EQ(back.records[i].target, j.records[i].target);
    EXPECT_EQ(back.records[i].name, j.records[i].name);
    EXPECT_EQ(back.records[i].had, j.records[i].had);
    EXPECT_EQ(back.records[i].old, j.records[i].old);
  }
  EXPECT_FALSE(back.committed);
  EXPECT_TRUE(Parsed(Written(j) + JournalCommitLine()).committed);
}

TEST(Journal, CutLastLineAndStrangeLinesDoNotCount) {
  Text text = JournalHeader(1, "C:\\P") + "F\tC:\\P\\A.EXE\r\nZ\twhat\r\nR\tonly-one-field\r\n";
  Journal j = Parsed(text + "F\tC:\\P\\B.E");  // the crash came mid-line
  ASSERT_EQ(j.records.size(), 1u);
  EXPECT_EQ(j.records[0].target, "C:\\P\\A.EXE");
  EXPECT_FALSE(Parsed(text + "OK").committed);

  Journal none;
  EXPECT_FALSE(ParseJournal("", &none));
  EXPECT_FALSE(ParseJournal("F\tC:\\x\r\n", &none));
  EXPECT_FALSE(ParseJournal("CVJ1\t12\tC:\\P\r\n", &none));
}

TEST(Journal, UndoIsLatestFirstWithTheLastRecordOfEachFile) {
  Journal j = Parsed(JournalHeader(1, "C:\\P") +
                     "D\tC:\\P\r\nD\tC:\\P\\Vlist\r\nF\tC:\\P\\A.EXE\r\n"
                     "R\tC:\\S\\X.DLL\tC:\\S\\CVB0001.TMP\r\nC\tc:\\s\\x.dll\tC:\\S\\CVB0001.TMP\r\n"
                     "K\tSOFTWARE\\K\t0\r\nV\tSOFTWARE\\K\tN\t0\t\r\n");
  Text kinds;
  for (const JournalRecord& r : UndoOrder(j)) kinds += static_cast<char>(r.kind);
  // Values before their key, files before their folders, inner folders
  // first; the rename aside that failed counts no more than its copy.
  EXPECT_EQ(kinds, "VKCFDD");
  EXPECT_EQ(Asides(j), (List<Text>{"C:\\S\\CVB0001.TMP", "C:\\S\\CVB0001.TMP"}));
  EXPECT_EQ(FoldersOfFiles(j), (List<Text>{"C:\\P", "C:\\S"}));
}

// A path made ready twice has two old files aside: the rollback undoes the
// later first, so the first old file is what ends up under the name.  Two
// Korean names that differ only in a trail byte's letter case are two paths.
TEST(Journal, RollbackUndoesEveryRecordLatestFirst) {
  Journal j = Parsed(JournalHeader(1, "C:\\P") +
                     "R\tC:\\P\\A.DLL\tC:\\P\\CVB0001.TMP\r\nT\tC:\\P\\A.DLL\t12\t00000000000000FF\r\n"
                     "R\tC:\\P\\A.DLL\tC:\\P\\CVB0002.TMP\r\nF\tC:\\P\\\xB0\x61.TXT\r\nF\tC:\\P\\\xB0\x41.TXT\r\n"
                     "R\tC:\\P\\B.DLL\tC:\\P\\CVB0003.TMP\r\nC\tC:\\P\\B.DLL\tC:\\P\\CVB0003.TMP\r\n");
  Text asides;
  for (const JournalRecord& r : RollbackOrder(j)) asides += Text(1, static_cast<char>(r.kind)) + (r.name.empty() ? r.target : r.name);
  // B.DLL was in use: its rename aside failed and a copy was kept instead.
  EXPECT_EQ(asides, "CC:\\P\\CVB0003.TMPFC:\\P\\\xB0\x41.TXTFC:\\P\\\xB0\x61.TXTRC:\\P\\CVB0002.TMPRC:\\P\\CVB0001.TMP");
  EXPECT_EQ(UndoOrder(j).size(), 5u);  // the stamp, two Korean names, A.DLL and B.DLL once

  uint64_t size = 0, written = 0;
  ASSERT_NE(StampOf(j, "c:\\p\\a.dll"), nullptr);
  EXPECT_TRUE(ReadStamp(*StampOf(j, "C:\\P\\A.DLL"), &size, &written));
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(written, 0xFFu);
  JournalRecord big = StampRecord("C:\\P\\B", 18446744073709551615ull, 0x0123456789ABCDEFull);
  EXPECT_EQ(big.name, "18446744073709551615");
  EXPECT_FALSE(ReadStamp(big, &size, &written));  // more digits than a stamp holds
  big = StampRecord("C:\\P\\B", 4294967296ull, 0x0123456789ABCDEFull);
  EXPECT_TRUE(ReadStamp(Parsed(JournalHeader(1, "C:\\P") + JournalLine(big)).records[0], &size, &written));
  EXPECT_EQ(size, 4294967296ull);
  EXPECT_EQ(written, 0x0123456789ABCDEFull);
}

// A new install folder is handed to the removal command whole; in a folder
// that was there before, only the subfolders the run made are.
TEST(Journal, RemovalCommandsForTheTopFoldersMade) {
  Journal fresh = Parsed(JournalHeader(1, "C:\\Program Files\\Corvane") +
                         "D\tC:\\Program Files\\Corvane\r\nD\tC:\\Program Files\\Corvane\\Vlist\r\n");
  EXPECT_EQ(TopMadeFolders(fresh), List<Text>{"C:\\Program Files\\Corvane"});
  EXPECT_EQ(DeltreeCommand("C:\\Program Files\\Corvane"), "deltree /y \"C:\\Program Files\\Corvane\"");

  Journal existing = Parsed(JournalHeader(1, "D:\\Corvane") +
                            "D\tD:\\Corvane\\Update\r\nD\tD:\\Corvane2\r\nF\tD:\\Corvane\\CV32W.EXE\r\n");
  EXPECT_EQ(TopMadeFolders(existing), (List<Text>{"D:\\Corvane\\Update", "D:\\Corvane2"}));
}

TEST(Journal, RemovalCommandFitsTheDosLimit) {
  EXPECT_TRUE(FitsDosCommandLine(DeltreeCommand("C:\\" + Text(111, 'a'))));  // 127
  EXPECT_FALSE(FitsDosCommandLine(DeltreeCommand("C:\\" + Text(112, 'a'))));
}
