// Unsetup.exe under Wine, against an installation registered by setup's own
// shell registration: started exactly as the uninstall entry says, it asks,
// hands over to a copy of itself in TEMP, ends the product's programs and
// removes every trace of setup; it keeps the user's files when asked to,
// copes with missing records, and, stopped half-way and run again, counts a
// shared library down only once.  Run in a private prefix: it removes setup's
// records from the machine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/shared_count.h"
#include "install/journal_file.h"
#include "install/journal_writer.h"
#include "install/registration.h"
#include "pages/wizard_state.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/ui.h"

namespace {

const char kTitle[] = "코르바네™ 제거";
const char kInstall[] = "C:\\Program Files\\Corvane";
const char kPrograms[] = "C:\\windows\\Start Menu\\Programs";
const char kGroup[] = "C:\\windows\\Start Menu\\Programs\\코르바네™ for Win9X";
const char kMainLink[] = "C:\\windows\\Start Menu\\코르바네.LNK";
const char kStartupFolder[] = "C:\\windows\\Start Menu\\Programs\\시작프로그램";
const char kScheduleLink[] = "C:\\windows\\Start Menu\\Programs\\시작프로그램\\예약검사.LNK";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98";
const char kMedium[] = "C:\\unsetup-test-medium";
const char kProgramsCanary[] = "C:\\windows\\Start Menu\\Programs\\다른 프로그램.LNK";
const char kQuestion[] = "코르바네™를 이 컴퓨터에서 제거하시겠습니까?\n\n설치 폴더: C:\\Program Files\\Corvane";
const char kDone[] = "코르바네™를 제거했습니다.";
constexpr DWORD kBoxWaitMs = 20000;

// The manifest that the registration reads its shortcuts from.
const char kManifest[] =
    "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
    "SETUP004=%sCVSYS.DLL\r\n"
    "[SetupLink]\r\nSETUP001=코르바네 검사.LNK\r\nSETUP002=NO\r\nSETUP003=코르바네 제거.LNK\r\nSETUP004=NO\r\n";

std::string SystemFile() { return machine::Join(machine::SystemFolder(), "CVSYS.DLL"); }

std::string WindowsFile(const char* name) { return machine::Join(machine::WindowsFolder(), name); }

std::string UninstallCommand() {
  return machine::RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").value_or("");
}

bool HasUninstallEntry() { return machine::RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }

bool HasProfileSection() { return machine::HasProfileSection("Corvane"); }

// How the user answers the boxes of one run of the uninstaller.  Shutdown
// leaves the box open and ends its program, as Windows shutting down would.
enum class Answer { Yes, No, Shutdown };

struct Session {
  std::vector<std::string> texts;  // every box, in order
  bool othersDefaultIsNo = false;  // the other-files question defaults to No
  bool doneByCopy = false;         // the last box came from another process
  DWORD originalCode = 0xDEAD;
};

class Uninstaller : public ::testing::Test {
 protected:
  void TearDown() override {
    running_.clear();
    machine::RemoveJunction(kInstall, "Update");
    const std::vector<std::string> made = {
        kInstall, "C:\\Program Files\\Corvane2", kGroup, kMainLink, kScheduleLink, kMedium, "C:\\Downloads",
        "C:\\My Documents", "C:\\Outside", kProgramsCanary, SystemFile(), WindowsFile("WININIT.INI"), "C:\\canary.txt"};
    for (const std::string& path : made) machine::DeleteTree(path);
    machine::SetProfile("Corvane", nullptr, nullptr);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const std::string& copy : TempCopies()) DeleteFileA(copy.c_str());
    DeleteFileA(JournalPath().c_str());
    HKEY shared;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_SET_VALUE, &shared) == ERROR_SUCCESS) {
      RegDeleteValueA(shared, SystemFile().c_str());
      RegCloseKey(shared);
    }
  }

  static void CopyProgram(const char* program, const std::string& folder) {
    machine::MakeFolders(folder);
    ASSERT_TRUE(CopyFileA((std::string(CORVANE_BIN_DIR) + "/" + program).c_str(),
                          machine::Join(folder, program).c_str(), FALSE))
        << program;
  }

  // The files that a medium installs into the install folder, plus what the
  // product keeps in its subfolders.
  static void MakeProductFiles() {
    for (const char* program : {"CV32W.EXE", "Schedule.EXE", "Unsetup.exe", "Corvane.dll"})
      CopyProgram(program, kInstall);
    for (const char* sub : {"VProtect", "Update", "Vlist"}) machine::MakeFolders(machine::Join(kInstall, sub));
    ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "Vlist\\virus.lst"), "signatures"));
    ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "Update\\patch.dat"), "patch"));
    ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "Setup.run"), std::string(1, '\x1F')));
    // The installer's new copy of a file that was in use, for the next start.
    ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "CVS0A1F.TMP"), "MZ"));
    ASSERT_TRUE(machine::WriteFile(SystemFile(), "shared with other programs"));
  }

  // What setup's install job ends with: its own shell registration.
  static void Register() {
    machine::MakeFolders(kMedium);
    ASSERT_TRUE(machine::WriteFile(machine::Join(kMedium, "SETUP.INI"), kManifest));
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA(kMedium);
    std::strcpy(g_installFolder, kInstall);
    JournalWriter journal;
    RegisterWithShell(g_installFolder, &journal);
    journal.Commit();
    SetCurrentDirectoryA(before);
    ASSERT_TRUE(machine::Exists(machine::Join(kGroup, "코르바네 검사.LNK")));
    ASSERT_TRUE(machine::Exists(machine::Join(kGroup, "코르바네 제거.LNK")));
    ASSERT_TRUE(machine::Exists(kMainLink));
    ASSERT_TRUE(machine::Exists(kScheduleLink));
    ASSERT_TRUE(HasProfileSection());
    ASSERT_EQ("\"C:\\Program Files\\Corvane\\Unsetup.exe\"", UninstallCommand());
  }

  machine::Process& StartProgram(const std::string& path) {
    running_.push_back(std::unique_ptr<machine::Process>(new machine::Process));
    EXPECT_TRUE(running_.back()->Start("\"" + path + "\"", machine::FolderOf(path))) << path;
    return *running_.back();
  }

  static std::vector<std::string> TempCopies() {
    std::vector<std::string> copies;
    for (const std::string& name : machine::Names(machine::TempFolder()))
      if (name.compare(0, 5, "~CVUN") == 0) copies.push_back(machine::TempFolder() + name);
    return copies;
  }

  // Runs the command line exactly as given, answers the question and the
  // other-files question, presses OK on the last message and waits until
  // every process of the uninstaller has ended.
  static Session Uninstall(const std::string& commandLine, Answer answer, Answer others = Answer::No) {
    Session run;
    machine::Process original;
    EXPECT_TRUE(original.Start(commandLine));
    for (;;) {
      ui::MessageBoxView box;
      if (!ui::WaitMessageBox(0, kTitle, kBoxWaitMs, &box)) {
        ADD_FAILURE() << "no message box after " << run.texts.size();
        break;
      }
      run.texts.push_back(box.text);
      if (box.text.find("제거하시겠습니까?") != std::string::npos) {
        EXPECT_TRUE(ui::Answer(box, answer == Answer::Yes ? IDYES : IDNO));
        if (answer == Answer::No) break;
      } else if (box.text.find("설치하지 않은 파일이 있습니다") != std::string::npos) {
        run.othersDefaultIsNo = ui::IsDefaultButton(box.hwnd, IDNO);
        if (others == Answer::Shutdown) {
          HANDLE owner = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ui::ProcessOf(box.hwnd));
          EXPECT_TRUE(TerminateProcess(owner, 1));
          EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(owner, 20000));
          CloseHandle(owner);
          break;
        }
        EXPECT_TRUE(ui::Answer(box, others == Answer::Yes ? IDYES : IDNO));
      } else {
        run.doneByCopy = ui::ProcessOf(box.hwnd) != original.Id();
        HANDLE owner = ui::OpenOwner(box.hwnd);
        ui::Click(box.hwnd, IDOK);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(owner, 20000));
        CloseHandle(owner);
        break;
      }
    }
    EXPECT_TRUE(original.WaitEnd(20000, &run.originalCode));
    return run;
  }

  std::vector<std::unique_ptr<machine::Process>> running_;
};

TEST_F(Uninstaller, RemovesEveryTraceOfSetupAndEndsTheProductsPrograms) {
  MakeProductFiles();
  Register();
  CopyProgram("Schedule.EXE", "C:\\Program Files\\Corvane2");
  machine::MakeFolders("C:\\My Documents");
  ASSERT_TRUE(machine::WriteFile("C:\\My Documents\\편지.txt", "the user's letter"));
  machine::Process& product = StartProgram(machine::Join(kInstall, "CV32W.EXE"));
  machine::Process& sibling = StartProgram("C:\\Program Files\\Corvane2\\Schedule.EXE");
  ASSERT_NE(nullptr, ui::WaitVisible(product.Id(), "Corvane_CV32W", nullptr, kBoxWaitMs));
  ASSERT_NE(nullptr, ui::WaitVisible(sibling.Id(), "Corvane_Schedule", nullptr, kBoxWaitMs));

  Session run = Uninstall(UninstallCommand(), Answer::Yes);

  ASSERT_EQ(2u, run.texts.size());
  EXPECT_EQ(kQuestion, run.texts[0]);
  EXPECT_EQ(kDone, run.texts[1]);
  EXPECT_EQ(0u, run.originalCode);
  EXPECT_TRUE(run.doneByCopy);

  DWORD code = 0;
  EXPECT_TRUE(product.WaitEnd(0, &code));
  EXPECT_FALSE(sibling.WaitEnd(0));

  EXPECT_FALSE(machine::Exists(kInstall));
  EXPECT_FALSE(machine::Exists(kGroup));
  EXPECT_FALSE(machine::Exists(kMainLink));
  EXPECT_FALSE(machine::Exists(kScheduleLink));
  EXPECT_FALSE(HasProfileSection());
  EXPECT_FALSE(HasUninstallEntry());

  // What setup did not make, and what it put into the system folder, stays.
  EXPECT_EQ("the user's letter", machine::ReadFile("C:\\My Documents\\편지.txt"));
  EXPECT_TRUE(machine::Exists("C:\\Program Files\\Corvane2\\Schedule.EXE"));
  EXPECT_TRUE(machine::Exists(SystemFile()));
  EXPECT_TRUE(machine::Exists(kStartupFolder));
  EXPECT_TRUE(machine::Exists(kPrograms));

  // The copy that did the work waits in TEMP for the next start of Windows.
  std::vector<std::string> copies = TempCopies();
  ASSERT_EQ(1u, copies.size());
  EXPECT_NE(std::string::npos, machine::ReadFile(WindowsFile("WININIT.INI"))
                                   .value_or("")
                                   .find("[rename]\r\nNUL=" + machine::ShortPath(copies[0]) + "\r\n"));
}

TEST_F(Uninstaller, NoLeavesEverythingAsItWas) {
  MakeProductFiles();
  Register();
  Session run = Uninstall(UninstallCommand(), Answer::No);
  ASSERT_EQ(1u, run.texts.size());
  EXPECT_EQ(kQuestion, run.texts[0]);
  EXPECT_TRUE(machine::Exists(machine::Join(kInstall, "Unsetup.exe")));
  EXPECT_TRUE(machine::Exists(machine::Join(kGroup, "코르바네 제거.LNK")));
  EXPECT_TRUE(machine::Exists(kMainLink));
  EXPECT_TRUE(HasProfileSection());
  EXPECT_TRUE(HasUninstallEntry());
  EXPECT_TRUE(TempCopies().empty());
}

TEST_F(Uninstaller, TheUsersFilesInTheInstallFolderStayWithItUnlessTheUserSaysYes) {
  for (Answer others : {Answer::No, Answer::Yes}) {
    MakeProductFiles();
    Register();
    ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "내 보고서.txt"), "report"));
    machine::MakeFolders(machine::Join(kInstall, "Mine"));
    ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "Mine\\a.txt"), "a"));

    Session run = Uninstall(UninstallCommand(), Answer::Yes, others);

    ASSERT_EQ(3u, run.texts.size());
    EXPECT_TRUE(run.othersDefaultIsNo);
    EXPECT_NE(std::string::npos, run.texts[1].find("\n    내 보고서.txt\n"));
    EXPECT_NE(std::string::npos, run.texts[1].find("\n    Mine\\\n"));
    EXPECT_EQ(std::string::npos, run.texts[1].find("CV32W.EXE"));
    EXPECT_FALSE(machine::Exists(kGroup));
    EXPECT_FALSE(HasProfileSection());
    EXPECT_FALSE(HasUninstallEntry());
    if (others == Answer::No) {
      EXPECT_EQ(std::string(kDone) + "\n\n사용자의 파일이 남아 있는 다음 폴더는 지우지 않았습니다.\n" + kInstall,
                run.texts[2]);
      std::vector<std::string> left = machine::Names(kInstall, "*.*", true);
      ASSERT_EQ(2u, left.size());
      EXPECT_EQ("report", machine::ReadFile(machine::Join(kInstall, "내 보고서.txt")));
      EXPECT_EQ("a", machine::ReadFile(machine::Join(kInstall, "Mine\\a.txt")));
    } else {
      EXPECT_EQ(kDone, run.texts[2]);
      EXPECT_FALSE(machine::Exists(kInstall));
    }
    TearDown();
  }
}

TEST_F(Uninstaller, AfterAFailedCopyWithoutRecordsItRemovesItsOwnFolder) {
  // The folders setup makes, and the files it got to before the failure.
  for (const char* sub : {"VProtect", "Update", "Vlist"}) machine::MakeFolders(machine::Join(kInstall, sub));
  CopyProgram("CV32W.EXE", kInstall);
  CopyProgram("Unsetup.exe", kInstall);
  Session run = Uninstall(std::string("\"") + kInstall + "\\Unsetup.exe\"", Answer::Yes);
  ASSERT_EQ(2u, run.texts.size());
  EXPECT_EQ(kQuestion, run.texts[0]);
  EXPECT_EQ(kDone, run.texts[1]);
  EXPECT_FALSE(machine::Exists(kInstall));
}

// Without setup's journal or records, a folder is the product's only when it
// holds the main program: a name alone does not make it so.
TEST_F(Uninstaller, AFolderNamedCorvaneWithoutTheMainProgramIsLeftAlone) {
  const std::string folder = "C:\\Downloads\\Corvane";
  CopyProgram("Unsetup.exe", folder);
  ASSERT_TRUE(machine::WriteFile(machine::Join(folder, "notes.txt"), "notes"));
  Session run = Uninstall("\"" + folder + "\\Unsetup.exe\"", Answer::Yes);
  ASSERT_EQ(1u, run.texts.size());
  EXPECT_EQ("이 컴퓨터에는 제거할 코르바네™가 없습니다.", run.texts[0]);
  EXPECT_EQ("notes", machine::ReadFile(machine::Join(folder, "notes.txt")));
}

TEST_F(Uninstaller, WithoutRecordsElsewhereThereIsNothingToRemove) {
  CopyProgram("Unsetup.exe", "C:\\Downloads");
  ASSERT_TRUE(machine::WriteFile("C:\\Downloads\\setup.zip", "zip"));
  Session run = Uninstall("\"C:\\Downloads\\Unsetup.exe\"", Answer::Yes);
  ASSERT_EQ(1u, run.texts.size());
  EXPECT_EQ("이 컴퓨터에는 제거할 코르바네™가 없습니다.", run.texts[0]);
  EXPECT_TRUE(machine::Exists("C:\\Downloads\\Unsetup.exe"));
  EXPECT_EQ("zip", machine::ReadFile("C:\\Downloads\\setup.zip"));
  EXPECT_TRUE(TempCopies().empty());
}

TEST_F(Uninstaller, ARecordNamingAFolderOfWindowsOrTheUserRemovesNothing) {
  std::string desktop = machine::ShellFolder("Desktop").value_or("");
  ASSERT_NE("", desktop);
  struct Record {
    const char* key;
    std::string folder;
  };
  for (const Record& record : {Record{"Install", "C:\\"}, Record{"Install", "c:\\windows."},
                               Record{"LInstall", kPrograms}, Record{"LInstall", desktop}}) {
    MakeProductFiles();
    Register();
    ASSERT_TRUE(machine::WriteFile("C:\\canary.txt", "still here"));
    ASSERT_TRUE(machine::WriteFile(kProgramsCanary, "another program's shortcut"));
    WriteProfileStringA("Corvane", record.key, record.folder.c_str());

    Session run = Uninstall(UninstallCommand(), Answer::Yes);

    ASSERT_EQ(1u, run.texts.size()) << record.folder;
    EXPECT_NE(std::string::npos, run.texts[0].find("지울 수 없으므로")) << run.texts[0];
    EXPECT_NE(std::string::npos, run.texts[0].find(": " + record.folder + "\n")) << run.texts[0];
    EXPECT_TRUE(TempCopies().empty());
    EXPECT_EQ("still here", machine::ReadFile("C:\\canary.txt"));
    EXPECT_TRUE(machine::Exists(kProgramsCanary));
    EXPECT_TRUE(machine::Exists(machine::Join(kInstall, "CV32W.EXE")));
    EXPECT_TRUE(machine::Exists(machine::Join(kGroup, "코르바네 제거.LNK")));
    EXPECT_TRUE(machine::Exists(kMainLink));
    EXPECT_TRUE(HasProfileSection());
    EXPECT_TRUE(HasUninstallEntry());
    TearDown();
  }
}

// Shut down at the question about the user's files and started again, the
// uninstaller counts a library that another program also uses down once,
// and leaves it.
TEST_F(Uninstaller, AnUninstallStoppedAtItsQuestionAndRunAgainCountsDownOnce) {
  CopyProgram("Unsetup.exe", kInstall);
  CopyProgram("Unsetup.exe", "C:\\Downloads");
  ASSERT_TRUE(machine::WriteFile(machine::Join(kInstall, "내 보고서.txt"), "report"));
  ASSERT_TRUE(machine::WriteFile(SystemFile(), "shared with another program"));
  ASSERT_TRUE(machine::SetRegistryNumber(HKEY_LOCAL_MACHINE, kSharedDllsKey, SystemFile().c_str(), 2));
  Text journal = JournalHeader(1, kInstall) + JournalLine({JournalKind::Folder, kInstall}) +
                 JournalLine({JournalKind::File, machine::Join(kInstall, "Unsetup.exe").c_str()}) +
                 JournalLine({JournalKind::File, SystemFile().c_str()}) +
                 JournalLine({JournalKind::Shared, SystemFile().c_str(), "", true, "1"}) + JournalCommitLine();
  ASSERT_TRUE(machine::WriteFile(JournalPath().c_str(), std::string(journal.data(), journal.size())));

  Session stopped = Uninstall("\"" + machine::Join(kInstall, "Unsetup.exe") + "\"", Answer::Yes, Answer::Shutdown);
  ASSERT_EQ(2u, stopped.texts.size());
  EXPECT_EQ(1u, machine::RegistryNumber(HKEY_LOCAL_MACHINE, kSharedDllsKey, SystemFile().c_str()));

  Session again = Uninstall("\"C:\\Downloads\\Unsetup.exe\"", Answer::Yes, Answer::Yes);
  ASSERT_EQ(3u, again.texts.size());
  EXPECT_EQ(kDone, again.texts[2]);
  EXPECT_EQ(1u, machine::RegistryNumber(HKEY_LOCAL_MACHINE, kSharedDllsKey, SystemFile().c_str()));
  EXPECT_TRUE(machine::Exists(SystemFile()));
  EXPECT_FALSE(machine::Exists(kInstall));
  EXPECT_FALSE(machine::Exists(JournalPath().c_str()));
}

TEST_F(Uninstaller, AJunctionInTheInstallFolderIsNeverFollowed) {
  MakeProductFiles();
  Register();
  machine::MakeFolders("C:\\Outside");
  ASSERT_TRUE(machine::WriteFile("C:\\Outside\\letter.txt", "the user's"));
  machine::DeleteTree(machine::Join(kInstall, "Update"));
  ASSERT_TRUE(machine::MakeJunction(kInstall, "Update", "../../Outside"));

  Session run = Uninstall(UninstallCommand(), Answer::Yes);

  ASSERT_EQ(2u, run.texts.size());
  EXPECT_EQ(kDone, run.texts[1]);
  EXPECT_EQ("the user's", machine::ReadFile("C:\\Outside\\letter.txt"));
  EXPECT_FALSE(machine::Exists(machine::Join(kInstall, "CV32W.EXE")));
  EXPECT_FALSE(HasProfileSection());
}

}  // namespace
