// Reading the manifest and shell registration against the test prefix's
// registry, win.ini and Start menu, with a manifest in a scratch setup
// folder; and taking back what the install job did.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "install/journal_file.h"
#include "install/journal_writer.h"
#include "install/manifest.h"
#include "install/rollback.h"
#include "install/registration.h"
#include "pages/wizard_state.h"
#include "setupdll/wininit_file.h"
#include "support/files.h"
#include "support/links.h"
#include "support/settings.h"

namespace {

const char kUninstall[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98";

std::string Temp(const char* name) { return machine::TempFolder() + name; }

void WriteFile(const std::string& path, const std::string& text) { ASSERT_TRUE(machine::WriteFile(path, text)); }

std::string LinkTarget(const std::string& link) { return machine::ReadLink(link).path; }

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setupFolder_ = Temp("registration_setup");
    CreateDirectoryA(setupFolder_.c_str(), NULL);
    GetCurrentDirectoryA(sizeof oldDir_, oldDir_);
    SetCurrentDirectoryA(setupFolder_.c_str());
    programs_ = Temp("registration_programs");
    CreateDirectoryA(programs_.c_str(), NULL);
    CreateDirectoryA((programs_ + "\\시작프로그램").c_str(), NULL);
    SetPrograms(programs_);
    std::snprintf(g_installFolder, sizeof g_installFolder, "%s", "C:\\Program Files\\Corvane");
    WriteProfileStringA("Corvane", NULL, NULL);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstall);
    CoInitialize(NULL);
  }

  void TearDown() override {
    CoUninitialize();
    SetCurrentDirectoryA(oldDir_);
  }

  static void SetPrograms(const std::string& value) { ASSERT_TRUE(machine::SetShellFolder("Programs", value)); }

  std::string Profile(const char* key) { return machine::Profile("Corvane", key).value_or("(absent)"); }

  // The stored text, and in *size the number of characters stored, its
  // terminator included.  Read in the wide form, which is how Wine and the NT
  // family keep it.
  std::string Uninstall(const char* name, DWORD* size) {
    HKEY key;
    *size = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ, &key) != ERROR_SUCCESS)
      return "(no key)";
    WCHAR wideName[64], wide[700] = {};
    MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, 64);
    DWORD type = 0, bytes = sizeof wide - sizeof(WCHAR);
    LONG r = RegQueryValueExW(key, wideName, NULL, &type, reinterpret_cast<BYTE*>(wide), &bytes);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return "(no value)";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    *size = bytes / sizeof(WCHAR);
    char text[1400] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
    return text;
  }

  std::string setupFolder_, programs_;
  char oldDir_[MAX_PATH];
};

// A section read at once answers every key as the profile functions do,
// whatever the lines hold; a section too long to read whole is asked key by
// key.
TEST_F(RegistrationTest, ManifestSectionReadsAsTheProfileFunctions) {
  std::string big = "[Big]\r\n";
  for (int n = 1; n <= 60; ++n)
    big += "SETUP" + std::to_string(1000 + n).substr(1) + "=" + std::string(590, 'b') + "\r\n";
  WriteFile(setupFolder_ + "\\SETUP.INI",
            "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=\"Quoted Name.EXE\"\r\nSETUP003='single'\r\n"
            "SETUP004=\"half\r\nSETUP005=tail'\r\nSETUP006 = spaced\r\nSETUP007=  padded  \r\nsetup008=lower.exe\r\n"
            "SETUP009=first\r\nsetup009=second\r\n; SETUP010=comment\r\nSETUP010=\r\nSETUP011=" +
                std::string(700, 'x') + "\r\nSETUP012=" + std::string(599, 'y') +
                "\r\n\tSETUP013=tabbed\r\nSETUP014\r\nSETUP015=a=b\r\nSETUP016=코르바네.LNK\r\n"
                "SETUP017=%sSYS.DLL\t\r\n"
                "[SetupPersent]\r\nSETUP001=40\r\nSETUP002=12\r\nSETUP003= 7\r\nSETUP004=x\r\nSETUP005=-3\r\n"
                "SETUP006=99999999999\r\nSETUP007=007\r\nSETUP008=\"5\"\r\nSETUP009=0x10\r\nsetup010=3\r\n"
                "SETUP011=1\r\nSETUP011=2\r\nSETUP012=123456789\r\nSETUP013=\r\nSETUP014=4 apples\r\n" +
                big);
  for (const char* name : {"SetupFiles", "SetupPersent", "Big"}) {
    const ManifestSection section(name);
    for (int n = 1; n <= 62; ++n) {
      char key[16], value[600];
      std::snprintf(key, sizeof key, "SETUP%03d", n);
      GetPrivateProfileStringA(name, key, "Error", value, sizeof value, ".\\SETUP.INI");
      EXPECT_EQ(std::string(section.Value(n).c_str()), value) << name << " " << key;
      EXPECT_EQ(section.Points(n), static_cast<int>(GetPrivateProfileIntA(name, key, 0, ".\\SETUP.INI")))
          << name << " " << key;
    }
  }
  // Plain lines come from the section read, not from the file.
  const ManifestSection files("SetupFiles");
  DeleteFileA((setupFolder_ + "\\SETUP.INI").c_str());
  EXPECT_EQ(std::string(files.Value(8).c_str()), "lower.exe");
  EXPECT_EQ(std::string(files.Value(2).c_str()), "Error");
}

TEST_F(RegistrationTest, ManifestLinksFixedLinksRecordsAndUninstallEntry) {
  WriteFile(setupFolder_ + "\\SETUP.INI",
            "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
            "SETUP004=%SSAMPLE.DLL\r\nSETUP005=%wSAMPLE.INI\r\n"
            "[SetupLink]\r\nSETUP001=NO\r\nSETUP002=NO\r\nSETUP003=Unsetup.LNK\r\n"
            "SETUP005=Sample.LNK\r\n");
  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);

  std::string group = programs_ + "\\코르바네™ for Win9X";
  EXPECT_TRUE(machine::Exists(group));
  EXPECT_EQ(LinkTarget(group + "\\Unsetup.LNK"), "C:\\Program Files\\Corvane\\Unsetup.exe");
  // SETUP004 has no SetupLink key: the walk ends before SETUP005.
  EXPECT_FALSE(machine::Exists(group + "\\Sample.LNK"));
  EXPECT_EQ(LinkTarget(group + "\\..\\..\\코르바네.LNK"), "C:\\Program Files\\Corvane\\CV32W.EXE");
  EXPECT_EQ(LinkTarget(programs_ + "\\시작프로그램\\예약검사.LNK"),
            "C:\\Program Files\\Corvane\\Schedule.EXE");

  EXPECT_EQ(Profile("Install"), "C:\\Program Files\\Corvane");
  EXPECT_EQ(Profile("LInstall"), group);

  DWORD size;
  // Whole texts with their terminators: 18 characters (코르바네™ is five
  // characters in ten bytes) and 38.
  EXPECT_EQ(Uninstall("DisplayName", &size), "코르바네™ for Win95/98");
  EXPECT_EQ(size, 19u);
  EXPECT_EQ(Uninstall("UninstallString", &size), "\"C:\\Program Files\\Corvane\\Unsetup.exe\"");
  EXPECT_EQ(size, 39u);
}

TEST_F(RegistrationTest, NoLinkNamesAndPrefixedTargets) {
  WriteFile(setupFolder_ + "\\SETUP.INI",
            "[SetupFiles]\r\nSETUP001=%sX.DLL\r\nSETUP002=A.EXE\r\n"
            "[SetupLink]\r\nSETUP001=X.LNK\r\nSETUP002=no\r\n");
  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);
  std::string group = programs_ + "\\코르바네™ for Win9X";
  // The target keeps the folder prefix, exactly as the manifest writes it.
  EXPECT_EQ(LinkTarget(group + "\\X.LNK"), "C:\\Program Files\\Corvane\\%sX.DLL");
  // "no" is not "NO": a link name without LNK, so no shortcut.
  EXPECT_FALSE(machine::Exists(group + "\\no"));
}

TEST_F(RegistrationTest, EmptyManifestStillRegisters) {
  DeleteFileA((setupFolder_ + "\\SETUP.INI").c_str());
  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);
  EXPECT_TRUE(machine::Exists(programs_ + "\\코르바네™ for Win9X"));
  EXPECT_EQ(Profile("Install"), "C:\\Program Files\\Corvane");
  DWORD size;
  EXPECT_EQ(Uninstall("DisplayName", &size), "코르바네™ for Win95/98");
}

TEST_F(RegistrationTest, TrailingBackslashIsNotDoubled) {
  SetPrograms(programs_ + "\\");
  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);
  EXPECT_EQ(Profile("LInstall"), programs_ + "\\코르바네™ for Win9X");
}

TEST_F(RegistrationTest, UnreadableProgramsFolderRegistersNothing) {
  SetPrograms("C:\\" + std::string(125, 'p'));  // 128 characters
  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);
  EXPECT_EQ(Profile("Install"), "(absent)");
  EXPECT_EQ(Profile("LInstall"), "(absent)");
  DWORD size;
  EXPECT_EQ(Uninstall("DisplayName", &size), "(no key)");
}

TEST_F(RegistrationTest, ProgramsOf127CharactersIsRead) {
  std::string programs = Temp("");
  programs += std::string(127 - programs.size(), 'q');
  ASSERT_EQ(programs.size(), 127u);
  SetPrograms(programs);
  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);
  EXPECT_EQ(Profile("LInstall"), programs + "\\코르바네™ for Win9X");
}

}  // namespace

namespace {

std::string ReadAll(const std::string& path) { return machine::ReadFile(path).value_or("(absent)"); }

// A registration that is rolled back leaves the records, the shortcuts and
// the folders exactly as they were: an old main shortcut comes back byte for
// byte, an old Install record comes back, what was absent is absent again.
TEST_F(RegistrationTest, RollbackPutsEveryItemBack) {
  std::string programs = Temp("registration_rollback\\Programs");
  CreateDirectoryA(Temp("registration_rollback").c_str(), NULL);
  CreateDirectoryA(programs.c_str(), NULL);
  CreateDirectoryA((programs + "\\시작프로그램").c_str(), NULL);
  SetPrograms(programs);
  std::string mainLink = Temp("registration_rollback\\코르바네.LNK");
  WriteFile(mainLink, "an older shortcut");
  WriteProfileStringA("Corvane", "Install", "D:\\Old");
  WriteFile(setupFolder_ + "\\SETUP.INI", "[SetupFiles]\r\nSETUP001=A.EXE\r\n[SetupLink]\r\nSETUP001=A.LNK\r\n");

  JournalWriter journal;
  RegisterWithShell(g_installFolder, &journal);
  ASSERT_TRUE(machine::Exists(programs + "\\코르바네™ for Win9X\\A.LNK"));
  ASSERT_NE(ReadAll(mainLink), "an older shortcut");
  journal.RollBack(false);

  EXPECT_EQ(ReadAll(mainLink), "an older shortcut");
  EXPECT_FALSE(machine::Exists(programs + "\\코르바네™ for Win9X"));
  EXPECT_FALSE(machine::Exists(programs + "\\시작프로그램\\예약검사.LNK"));
  EXPECT_EQ(Profile("Install"), "D:\\Old");
  EXPECT_EQ(Profile("LInstall"), "(absent)");
  DWORD size;
  EXPECT_EQ(Uninstall("DisplayName", &size), "(no key)");
}

// A file in use cannot be renamed aside; the support library then replaces
// it when Windows next starts.  A rollback withdraws that replacement,
// deletes the new file that waited for it and the copy kept aside, and the
// old file never moved.
TEST(Rollback, WithdrawsTheRestartReplacementOfAFileInUse) {
  std::string folder = Temp("rollback_in_use");
  CreateDirectoryA(folder.c_str(), NULL);
  std::string target = folder + "\\INUSE.DLL", fresh = folder + "\\CVS1234.TMP";
  WriteFile(target, "the old library");
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  JournalWriter journal;
  journal.Begin(folder);
  journal.PrepareFile(target);
  WriteFile(fresh, "the new library");
  char shortTarget[MAX_PATH], shortFresh[MAX_PATH], source[MAX_PATH];
  ASSERT_TRUE(wininit::ShortPath(target.c_str(), shortTarget, sizeof shortTarget));
  ASSERT_TRUE(wininit::ShortPath(fresh.c_str(), shortFresh, sizeof shortFresh));
  ASSERT_TRUE(wininit::ScheduleRename(shortTarget, shortFresh));
  journal.RollBack(false);
  CloseHandle(held);

  EXPECT_EQ(ReadAll(target), "the old library");
  EXPECT_FALSE(machine::Exists(fresh));
  EXPECT_FALSE(wininit::FindRename(shortTarget, source, sizeof source));
  EXPECT_EQ(machine::Names(folder, "CVB*.TMP", true), std::vector<std::string>{});
}

// A new file that cannot go (a scanner holds it) keeps the old one aside and
// the journal that names it: the next start says which file is stuck and
// changes nothing else, and once the file is free it puts the old one back.
TEST(Rollback, AFileThatCannotGoKeepsItsJournalUntilTheNextStartCanFinish) {
  std::string folder = Temp("rollback_stuck");
  CreateDirectoryA(folder.c_str(), NULL);
  std::string target = folder + "\\HELD.DLL";
  WriteFile(target, "the old library");
  JournalWriter journal;
  ASSERT_TRUE(journal.Begin(folder));
  journal.PrepareFile(target);
  WriteFile(target, "the new library");
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  journal.RollBack(false);

  Journal left;
  ASSERT_TRUE(ReadJournal(&left));
  EXPECT_FALSE(left.committed);
  ASSERT_EQ(machine::Names(folder, "CVB*.TMP").size(), 1u);
  JournalWriter second;
  EXPECT_FALSE(second.Begin(folder));  // no new run over a rollback that did not finish
  Text stuck;
  EXPECT_FALSE(FinishEarlierRun(&stuck));
  EXPECT_EQ(std::string(stuck.c_str()), target);

  CloseHandle(held);
  EXPECT_TRUE(FinishEarlierRun(&stuck));
  EXPECT_EQ(ReadAll(target), "the old library");
  EXPECT_FALSE(machine::Exists(JournalPath().c_str()));
  EXPECT_EQ(machine::Names(folder, "CVB*.TMP"), std::vector<std::string>{});
}

}  // namespace
