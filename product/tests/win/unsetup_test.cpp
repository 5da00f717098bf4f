// Unsetup.exe under Wine, against an installation registered by setup's own
// shell registration: started exactly as the uninstall entry says, it asks,
// hands over to a copy of itself in TEMP, ends the product's programs and
// removes every trace of setup; it keeps the user's files when asked to, and
// copes with missing records.  Run in a private prefix: it removes setup's
// records from the machine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "install/journal_writer.h"
#include "install/registration.h"
#include "pages/wizard_state.h"
#include "ui.h"
#include "wine_links.h"

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

std::string Join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

std::string SystemFile() {
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  return Join(system, "CVSYS.DLL");
}

std::string WindowsFile(const char* name) {
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  return Join(windows, name);
}

bool HasProfileSection() {
  char keys[600] = "";
  return GetProfileStringA("Corvane", NULL, "", keys, sizeof keys) > 0;
}

std::string UninstallCommand() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char value[600] = "";
  DWORD size = sizeof value - 1;
  RegQueryValueExA(key, "UninstallString", NULL, NULL, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return value;
}

bool HasUninstallEntry() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Join(folder, "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// How the user answers the boxes of one run of the uninstaller.
enum class Answer { kYes, kNo };

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
    RemoveLinkForTest(kInstall, "Update");
    DeleteTreeForTest(kInstall);
    DeleteTreeForTest("C:\\Program Files\\Corvane2");
    DeleteTreeForTest(kGroup);
    DeleteFileA(kMainLink);
    DeleteFileA(kScheduleLink);
    DeleteTreeForTest(kMedium);
    DeleteTreeForTest("C:\\Downloads");
    DeleteTreeForTest("C:\\My Documents");
    DeleteTreeForTest("C:\\Outside");
    DeleteFileA(kProgramsCanary);
    DeleteFileA(SystemFile().c_str());
    DeleteFileA(WindowsFile("WININIT.INI").c_str());
    DeleteFileA("C:\\canary.txt");
    WriteProfileStringA("Corvane", NULL, NULL);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
    for (const std::string& copy : TempCopies()) DeleteFileA(copy.c_str());
  }

  static void CopyProgram(const char* program, const std::string& folder) {
    MakeFolders(folder);
    ASSERT_TRUE(CopyFileA((std::string(CORVANE_BIN_DIR) + "/" + program).c_str(), Join(folder, program).c_str(), FALSE))
        << program;
  }

  // The files that a medium installs into the install folder, plus what the
  // product keeps in its subfolders.
  static void MakeProductFiles() {
    for (const char* program : {"CV32W.EXE", "Schedule.EXE", "Unsetup.exe", "Corvane.dll"})
      CopyProgram(program, kInstall);
    for (const char* sub : {"VProtect", "Update", "Vlist"}) MakeFolders(Join(kInstall, sub));
    ASSERT_TRUE(WriteBytes(Join(kInstall, "Vlist\\virus.lst"), "signatures"));
    ASSERT_TRUE(WriteBytes(Join(kInstall, "Update\\patch.dat"), "patch"));
    ASSERT_TRUE(WriteBytes(Join(kInstall, "Setup.run"), std::string(1, '\x1F')));
    // The installer's new copy of a file that was in use, for the next start.
    ASSERT_TRUE(WriteBytes(Join(kInstall, "CVS0A1F.TMP"), "MZ"));
    ASSERT_TRUE(WriteBytes(SystemFile(), "shared with other programs"));
  }

  // What setup's install job ends with: its own shell registration.
  static void Register() {
    MakeFolders(kMedium);
    ASSERT_TRUE(WriteBytes(Join(kMedium, "SETUP.INI"), kManifest));
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    SetCurrentDirectoryA(kMedium);
    std::strcpy(g_installFolder, kInstall);
    JournalWriter journal;
    RegisterWithShell(g_installFolder, &journal);
    journal.Commit();
    SetCurrentDirectoryA(before);
    ASSERT_TRUE(Exists(Join(kGroup, "코르바네 검사.LNK")));
    ASSERT_TRUE(Exists(Join(kGroup, "코르바네 제거.LNK")));
    ASSERT_TRUE(Exists(kMainLink));
    ASSERT_TRUE(Exists(kScheduleLink));
    ASSERT_TRUE(HasProfileSection());
    ASSERT_EQ("\"C:\\Program Files\\Corvane\\Unsetup.exe\"", UninstallCommand());
  }

  Started& StartProgram(const std::string& path) {
    running_.push_back(std::unique_ptr<Started>(new Started));
    EXPECT_TRUE(running_.back()->Start("\"" + path + "\"", FolderOf(path))) << path;
    return *running_.back();
  }

  static std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

  static std::vector<std::string> TempCopies() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::vector<std::string> copies;
    for (const std::string& name : Listing(temp))
      if (name.compare(0, 5, "~CVUN") == 0) copies.push_back(std::string(temp) + name);
    return copies;
  }

  // Runs the command line exactly as given, answers the question and the
  // other-files question, presses OK on the last message and waits until
  // every process of the uninstaller has ended.
  static Session Uninstall(const std::string& commandLine, Answer answer, Answer others = Answer::kNo) {
    Session run;
    Started original;
    EXPECT_TRUE(original.Start(commandLine));
    for (;;) {
      HWND box = WaitForMessageBox(kTitle, 0, kBoxWaitMs);
      if (!box) {
        ADD_FAILURE() << "no message box after " << run.texts.size();
        break;
      }
      std::string text = MessageBoxText(box);
      run.texts.push_back(text);
      HANDLE owner = OpenOwnerProcess(box);
      if (text.find("제거하시겠습니까?") != std::string::npos) {
        Press(box, answer == Answer::kYes ? IDYES : IDNO);
      } else if (text.find("설치하지 않은 파일이 있습니다") != std::string::npos) {
        run.othersDefaultIsNo = IsDefaultButton(box, IDNO);
        Press(box, others == Answer::kYes ? IDYES : IDNO);
      } else {
        DWORD boxProcess = 0;
        GetWindowThreadProcessId(box, &boxProcess);
        run.doneByCopy = boxProcess != original.id();
        Press(box, IDOK);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(owner, 20000));
        CloseHandle(owner);
        break;
      }
      EXPECT_TRUE(WaitForWindowGone(box, 5000));
      bool stop = answer == Answer::kNo;
      CloseHandle(owner);
      if (stop) break;
    }
    EXPECT_TRUE(original.WaitForEnd(20000, &run.originalCode));
    return run;
  }

  std::vector<std::unique_ptr<Started>> running_;
};

TEST_F(Uninstaller, RemovesEveryTraceOfSetupAndEndsTheProductsPrograms) {
  MakeProductFiles();
  Register();
  CopyProgram("Schedule.EXE", "C:\\Program Files\\Corvane2");
  MakeFolders("C:\\My Documents");
  ASSERT_TRUE(WriteBytes("C:\\My Documents\\편지.txt", "the user's letter"));
  Started& product = StartProgram(Join(kInstall, "CV32W.EXE"));
  Started& sibling = StartProgram("C:\\Program Files\\Corvane2\\Schedule.EXE");
  ASSERT_NE(nullptr, WaitForWindow(product.id(), "Corvane_CV32W", nullptr, kBoxWaitMs));
  ASSERT_NE(nullptr, WaitForWindow(sibling.id(), "Corvane_Schedule", nullptr, kBoxWaitMs));

  Session run = Uninstall(UninstallCommand(), Answer::kYes);

  ASSERT_EQ(2u, run.texts.size());
  EXPECT_EQ(kQuestion, run.texts[0]);
  EXPECT_EQ(kDone, run.texts[1]);
  EXPECT_EQ(0u, run.originalCode);
  EXPECT_TRUE(run.doneByCopy);

  DWORD code = 0;
  EXPECT_TRUE(product.WaitForEnd(0, &code));
  EXPECT_FALSE(sibling.WaitForEnd(0));

  EXPECT_FALSE(Exists(kInstall));
  EXPECT_FALSE(Exists(kGroup));
  EXPECT_FALSE(Exists(kMainLink));
  EXPECT_FALSE(Exists(kScheduleLink));
  EXPECT_FALSE(HasProfileSection());
  EXPECT_FALSE(HasUninstallEntry());

  // What setup did not make, and what it put into the system folder, stays.
  EXPECT_EQ("the user's letter", ReadBytes("C:\\My Documents\\편지.txt"));
  EXPECT_TRUE(Exists("C:\\Program Files\\Corvane2\\Schedule.EXE"));
  EXPECT_TRUE(Exists(SystemFile()));
  EXPECT_TRUE(Exists(kStartupFolder));
  EXPECT_TRUE(Exists(kPrograms));

  // The copy that did the work waits in TEMP for the next start of Windows.
  std::vector<std::string> copies = TempCopies();
  ASSERT_EQ(1u, copies.size());
  char shortPath[MAX_PATH] = "";
  GetShortPathNameA(copies[0].c_str(), shortPath, sizeof shortPath);
  EXPECT_NE(std::string::npos,
            ReadBytes(WindowsFile("WININIT.INI")).find(std::string("[rename]\r\nNUL=") + shortPath + "\r\n"));
}

TEST_F(Uninstaller, NoLeavesEverythingAsItWas) {
  MakeProductFiles();
  Register();
  Session run = Uninstall(UninstallCommand(), Answer::kNo);
  ASSERT_EQ(1u, run.texts.size());
  EXPECT_EQ(kQuestion, run.texts[0]);
  EXPECT_TRUE(Exists(Join(kInstall, "Unsetup.exe")));
  EXPECT_TRUE(Exists(Join(kGroup, "코르바네 제거.LNK")));
  EXPECT_TRUE(Exists(kMainLink));
  EXPECT_TRUE(HasProfileSection());
  EXPECT_TRUE(HasUninstallEntry());
  EXPECT_TRUE(TempCopies().empty());
}

TEST_F(Uninstaller, TheUsersFilesInTheInstallFolderStayWithItUnlessTheUserSaysYes) {
  for (Answer others : {Answer::kNo, Answer::kYes}) {
    MakeProductFiles();
    Register();
    ASSERT_TRUE(WriteBytes(Join(kInstall, "내 보고서.txt"), "report"));
    MakeFolders(Join(kInstall, "Mine"));
    ASSERT_TRUE(WriteBytes(Join(kInstall, "Mine\\a.txt"), "a"));

    Session run = Uninstall(UninstallCommand(), Answer::kYes, others);

    ASSERT_EQ(3u, run.texts.size());
    EXPECT_TRUE(run.othersDefaultIsNo);
    EXPECT_NE(std::string::npos, run.texts[1].find("\n    내 보고서.txt\n"));
    EXPECT_NE(std::string::npos, run.texts[1].find("\n    Mine\\\n"));
    EXPECT_EQ(std::string::npos, run.texts[1].find("CV32W.EXE"));
    EXPECT_FALSE(Exists(kGroup));
    EXPECT_FALSE(HasProfileSection());
    EXPECT_FALSE(HasUninstallEntry());
    if (others == Answer::kNo) {
      EXPECT_EQ(std::string(kDone) + "\n\n사용자의 파일이 남아 있는 다음 폴더는 지우지 않았습니다.\n" + kInstall,
                run.texts[2]);
      std::vector<std::string> left = Listing(kInstall);
      ASSERT_EQ(2u, left.size());
      EXPECT_EQ("report", ReadBytes(Join(kInstall, "내 보고서.txt")));
      EXPECT_EQ("a", ReadBytes(Join(kInstall, "Mine\\a.txt")));
    } else {
      EXPECT_EQ(kDone, run.texts[2]);
      EXPECT_FALSE(Exists(kInstall));
    }
    TearDown();
  }
}

TEST_F(Uninstaller, AfterAFailedCopyWithoutRecordsItRemovesItsOwnFolder) {
  // The folders setup makes, and the files it got to before the failure.
  for (const char* sub : {"VProtect", "Update", "Vlist"}) MakeFolders(Join(kInstall, sub));
  CopyProgram("CV32W.EXE", kInstall);
  CopyProgram("Unsetup.exe", kInstall);
  Session run = Uninstall(std::string("\"") + kInstall + "\\Unsetup.exe\"", Answer::kYes);
  ASSERT_EQ(2u, run.texts.size());
  EXPECT_EQ(kQuestion, run.texts[0]);
  EXPECT_EQ(kDone, run.texts[1]);
  EXPECT_FALSE(Exists(kInstall));
}

// Without setup's journal or records, a folder is the product's only when it
// holds the main program: a name alone does not make it so.
TEST_F(Uninstaller, AFolderNamedCorvaneWithoutTheMainProgramIsLeftAlone) {
  const std::string folder = "C:\\Downloads\\Corvane";
  CopyProgram("Unsetup.exe", folder);
  ASSERT_TRUE(WriteBytes(Join(folder, "notes.txt"), "notes"));
  Session run = Uninstall("\"" + folder + "\\Unsetup.exe\"", Answer::kYes);
  ASSERT_EQ(1u, run.texts.size());
  EXPECT_EQ("이 컴퓨터에는 제거할 코르바네™가 없습니다.", run.texts[0]);
  EXPECT_EQ("notes", ReadBytes(Join(folder, "notes.txt")));
}

TEST_F(Uninstaller, WithoutRecordsElsewhereThereIsNothingToRemove) {
  CopyProgram("Unsetup.exe", "C:\\Downloads");
  ASSERT_TRUE(WriteBytes("C:\\Downloads\\setup.zip", "zip"));
  Session run = Uninstall("\"C:\\Downloads\\Unsetup.exe\"", Answer::kYes);
  ASSERT_EQ(1u, run.texts.size());
  EXPECT_EQ("이 컴퓨터에는 제거할 코르바네™가 없습니다.", run.texts[0]);
  EXPECT_TRUE(Exists("C:\\Downloads\\Unsetup.exe"));
  EXPECT_EQ("zip", ReadBytes("C:\\Downloads\\setup.zip"));
  EXPECT_TRUE(TempCopies().empty());
}

TEST_F(Uninstaller, ARecordNamingAFolderOfWindowsOrTheUserRemovesNothing) {
  char desktop[MAX_PATH] = "";
  DWORD size = sizeof desktop - 1;
  RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
               RRF_RT_REG_SZ, NULL, desktop, &size);
  ASSERT_NE('\0', desktop[0]);
  struct Record {
    const char* key;
    std::string folder;
  };
  for (const Record& record : {Record{"Install", "C:\\"}, Record{"Install", "c:\\windows."},
                               Record{"LInstall", kPrograms}, Record{"LInstall", desktop}}) {
    MakeProductFiles();
    Register();
    ASSERT_TRUE(WriteBytes("C:\\canary.txt", "still here"));
    ASSERT_TRUE(WriteBytes(kProgramsCanary, "another program's shortcut"));
    WriteProfileStringA("Corvane", record.key, record.folder.c_str());

    Session run = Uninstall(UninstallCommand(), Answer::kYes);

    ASSERT_EQ(1u, run.texts.size()) << record.folder;
    EXPECT_NE(std::string::npos, run.texts[0].find("지울 수 없으므로")) << run.texts[0];
    EXPECT_NE(std::string::npos, run.texts[0].find(": " + record.folder + "\n")) << run.texts[0];
    EXPECT_TRUE(TempCopies().empty());
    EXPECT_EQ("still here", ReadBytes("C:\\canary.txt"));
    EXPECT_TRUE(Exists(kProgramsCanary));
    EXPECT_TRUE(Exists(Join(kInstall, "CV32W.EXE")));
    EXPECT_TRUE(Exists(Join(kGroup, "코르바네 제거.LNK")));
    EXPECT_TRUE(Exists(kMainLink));
    EXPECT_TRUE(HasProfileSection());
    EXPECT_TRUE(HasUninstallEntry());
    TearDown();
  }
}

TEST_F(Uninstaller, AJunctionInTheInstallFolderIsNeverFollowed) {
  MakeProductFiles();
  Register();
  MakeFolders("C:\\Outside");
  ASSERT_TRUE(WriteBytes("C:\\Outside\\letter.txt", "the user's"));
  DeleteTreeForTest(Join(kInstall, "Update"));
  ASSERT_TRUE(MakeLinkForTest(kInstall, "Update", "../../Outside"));

  Session run = Uninstall(UninstallCommand(), Answer::kYes);

  ASSERT_EQ(2u, run.texts.size());
  EXPECT_EQ(kDone, run.texts[1]);
  EXPECT_EQ("the user's", ReadBytes("C:\\Outside\\letter.txt"));
  EXPECT_FALSE(Exists(Join(kInstall, "CV32W.EXE")));
  EXPECT_FALSE(HasProfileSection());
}

}  // namespace
