// The installed product's own programs end to end, on the real medium in
// C:\realcd (mkmedium's payload store, the real _SETUP.DLL and the real
// product): install, the product running, the uninstaller run exactly as the
// uninstall entry names it, every trace of setup gone, and setup installing
// again; also after a failed copy and without win.ini records.
#include <windows.h>

#include <cstdlib>

#include "check.h"
#include "install/journal_format.h"
#include "outcome.h"
#include "payload_store.h"
#include "scenario.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"
#include "texts.h"
#include "wizard.h"

namespace {

const char kUninstallTitle[] = "코르바네™ 제거";
const char kQuestion[] = "코르바네™를 이 컴퓨터에서 제거하시겠습니까?\n\n설치 폴더: C:\\Program Files\\Corvane";
const char kDone[] = "코르바네™를 제거했습니다.";
const char kMainClass[] = "Corvane_CV32W";
const char kScheduleClass[] = "Corvane_Schedule";
const char kUserFolder[] = "C:\\My Documents";
const char kUserFile[] = "C:\\My Documents\\편지.txt";
const char kUserText[] = "the user's own letter";
// What the real medium installs into the install folder.
const char* const kProductFiles[] = {"CV32W.EXE", "Schedule.EXE", "Unsetup.exe", "Corvane.dll"};
constexpr unsigned kUninstallerTimeoutMs = 20000;

void RequireRealMedium() {
  if (!machine::Exists(std::string(kRealMedium) + "\\_SETUP.PAK")) {
    Note("no real medium in %s (mkmedium or the real _SETUP.DLL was not built)", kRealMedium);
    std::exit(77);
  }
}

// Every page with its defaults, every follow-up task: on the real medium the
// real _ISDEL.EXE then starts the scheduled scan and the main program from
// the install folder.
void InstallFrom(const Launch& launch) {
  SetupProcess setup(launch);
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Finish);
  wizard.Send(Ask::Button, IDOK);
  setup.ExpectEnd(10000, "the finish button");
}

void ExpectProductInstalled() {
  ExpectRegistered(texts::kDefaultFolder);
  for (const char* name : kProductFiles) {
    std::string path = machine::Join(texts::kDefaultFolder, name);
    std::optional<std::string> bytes = machine::ReadFile(path);
    if (!bytes || bytes->compare(0, 2, "MZ") != 0) Fail("%s is not the real program or library", Show(path).c_str());
  }
}

// A running program of the product, opened so that its end can be awaited.
struct RunningProgram {
  HWND window = nullptr;
  HANDLE process = nullptr;
};

// The window of a process the driver did not start: the real _ISDEL.EXE
// starts the product's programs.
RunningProgram WaitProgram(const char* className) {
  RunningProgram program;
  program.window = ui::WaitVisible(0, className, nullptr, 20000);
  if (!program.window) Abort("no %s window came; on screen:%s", className, DescribeScreen().c_str());
  program.process = ui::OpenOwner(program.window);
  return program;
}

void ExpectEnded(RunningProgram& program, const char* what) {
  if (!program.process || WaitForSingleObject(program.process, 5000) != WAIT_OBJECT_0) {
    Fail("%s still runs after the uninstaller", what);
  }
  if (program.process) CloseHandle(program.process);
  program.process = nullptr;
}

struct Uninstallation {
  std::vector<std::string> texts;  // every message box, in order
  bool doneByOtherProcess = false;
};

// Runs the command line exactly as written (as the shell runs the uninstall
// entry), answers the question with Yes and the question about other files
// with `others`, presses OK on the last message, and waits until every
// process of the uninstaller has ended.
Uninstallation Uninstall(const std::string& commandLine, int others = IDYES) {
  Uninstallation run;
  machine::Process original;
  if (!original.Start(commandLine, machine::WindowsFolder())) {
    Abort("cannot start the uninstaller as %s (error %lu)", Show(commandLine).c_str(), GetLastError());
  }
  Note("started the uninstaller as %s, pid %lu", Show(commandLine).c_str(), original.Id());
  for (;;) {
    // The uninstaller's copy has a process id that the driver never learns.
    ui::MessageBoxView view;
    if (!ui::WaitMessageBox(0, kUninstallTitle, kUninstallerTimeoutMs, &view)) {
      Fail("the uninstaller showed no message after %zu; on screen:%s", run.texts.size(), DescribeScreen().c_str());
      break;
    }
    run.texts.push_back(view.text);
    Note("uninstaller asks: %s", Show(view.text).c_str());
    if (view.buttons == std::vector<int>{IDYES, IDNO}) {
      ui::Answer(view, run.texts.size() == 1 ? IDYES : others);
      continue;
    }
    run.doneByOtherProcess = ui::ProcessOf(view.hwnd) != original.Id();
    HANDLE last = ui::OpenOwner(view.hwnd);
    ui::Answer(view, IDOK);
    if (last && WaitForSingleObject(last, kUninstallerTimeoutMs) != WAIT_OBJECT_0) {
      Fail("the uninstaller still runs after its last message");
    }
    if (last) CloseHandle(last);
    break;
  }
  if (!original.WaitEnd(kUninstallerTimeoutMs)) {
    Fail("the uninstaller started as %s does not end", Show(commandLine).c_str());
  }
  return run;
}

void ExpectAskedAndDone(const Uninstallation& run) {
  if (run.texts.size() != 2) {
    Fail("the uninstaller showed %zu messages, expected the question and the last message", run.texts.size());
    return;
  }
  ExpectText(run.texts[0], kQuestion, "the uninstaller's question");
  ExpectText(run.texts[1], kDone, "the uninstaller's last message");
}

// Nothing of what setup made is left, and nothing else went with it.  The
// user information and the memory check are recorded in win.ini before the
// copy, and only the uninstaller takes them: `section` says whether the
// section must be gone too.
void ExpectNoTrace(bool section = true) {
  const std::string gone[] = {texts::kDefaultFolder, GroupFolder(), MainLink(), ScheduleLink()};
  for (const std::string& path : gone) {
    if (machine::Exists(path)) Fail("%s is still there after the uninstaller", Show(path).c_str());
  }
  if (section && machine::HasProfileSection("Corvane")) Fail("win.ini still has the section Corvane");
  if (machine::RegistryKeyExists(HKEY_LOCAL_MACHINE, texts::kUninstallKey)) Fail("the uninstall entry is still there");
  ExpectText(machine::ReadFile(kUserFile).value_or("(absent)"), kUserText, "the user's file in another folder");
  if (!machine::IsFolder(machine::Join(ProgramsFolder(), texts::kStartupFolder))) Fail("the Start-up folder went too");
  // Files in the system folder may be shared with other programs: they stay.
  if (!machine::Exists(machine::SystemFolder() + "\\CVSKIP.DLL")) Fail("a file of the system folder went too");
}

void PrepareUserFile() {
  machine::MakeFolders(kUserFolder);
  machine::WriteFile(kUserFile, kUserText);
}

}  // namespace

SCENARIO(uninstall_reinstall, "real medium: install, the product runs, the uninstall entry removes every trace, setup installs again") {
  RequireRealMedium();
  PrepareMachine();
  PrepareUserFile();
  InstallFrom(FromRealMedium());
  ExpectProductInstalled();
  RunningProgram mainProgram = WaitProgram(kMainClass);
  RunningProgram scheduledScan = WaitProgram(kScheduleClass);
  ExpectText(ui::Title(ui::Item(mainProgram.window, 100)),
             std::string("코르바네™ for Win95/98\r\n버전 1.0\r\n설치 폴더: ") + texts::kDefaultFolder +
                 "\r\n남은 설치 작업: 업데이트 마법사, 복구 디스크 만들기, 안전 부팅 설정",
             "CV32W.EXE's window");

  std::string command =
      machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "UninstallString").value_or("");
  Uninstallation run = Uninstall(command);
  ExpectAskedAndDone(run);
  ExpectTrue(run.doneByOtherProcess, "the removal was done by the uninstaller's copy outside the install folder");
  ExpectEnded(mainProgram, "CV32W.EXE");
  ExpectEnded(scheduledScan, "Schedule.EXE");
  ExpectNoTrace();

  // Setup no longer finds an earlier installation.
  InstallFrom(FromRealMedium());
  ExpectProductInstalled();
}

SCENARIO(uninstall_half_installed, "real medium: a failed copy takes back the product's files it had made, so nothing is left to uninstall; setup installs again") {
  RequireRealMedium();
  PrepareMachine();
  PrepareUserFile();
  // A last entry that the payload store does not hold: InitInstall cannot
  // make it, after the product's own files are in place.
  const std::string manifest = std::string(kRealMedium) + "\\SETUP.INI";
  WritePrivateProfileStringA("SetupFiles", "SETUP005", "README.TXT", manifest.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, manifest.c_str());
  {
    SetupProcess setup(FromRealMedium());
    Wizard wizard(setup);
    wizard.ExpectStart();
    wizard.WalkTo(Page::Copy);
    wizard.ExpectCopyFailure("README.TXT");
  }
  WritePrivateProfileStringA("SetupFiles", "SETUP005", nullptr, manifest.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, manifest.c_str());
  // The deltree double removes nothing, as on a Windows without deltree:
  // setup itself took its files and folders back.
  ExpectNotRegistered();
  ExpectNoTrace(false);

  InstallFrom(FromRealMedium());
  ExpectProductInstalled();
}

SCENARIO(uninstall_records_missing, "real medium: without the win.ini records the uninstall entry still removes every trace") {
  RequireRealMedium();
  PrepareMachine();
  PrepareUserFile();
  InstallFrom(FromRealMedium());
  ExpectProductInstalled();
  RunningProgram mainProgram = WaitProgram(kMainClass);
  WriteProfileStringA("Corvane", nullptr, nullptr);

  std::string command =
      machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "UninstallString").value_or("");
  ExpectAskedAndDone(Uninstall(command));
  ExpectEnded(mainProgram, "CV32W.EXE");
  ExpectNoTrace();
}

namespace {

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

void ExpectCount(const std::string& path, std::optional<DWORD> want, const char* when) {
  std::optional<DWORD> seen = machine::RegistryNumber(HKEY_LOCAL_MACHINE, kSharedDlls, path.c_str());
  if (seen != want) {
    Fail("%s the SharedDLLs count of %s is %s, expected %s", when, Show(path).c_str(),
         seen ? std::to_string(*seen).c_str() : "absent", want ? std::to_string(*want).c_str() : "absent");
  }
}

// The test medium with the real support library and a store of the real
// product programs, plus two files for the system folder.
void LayOutSharedMedium() {
  std::string sources = machine::Environment("CORVANE_E2E_REAL_SOURCES");
  std::vector<StoreMember> members;
  for (const char* name : kProductFiles) {
    std::optional<std::string> bytes = machine::ReadFile(machine::Join(sources, name));
    if (!bytes) Abort("no %s in %s", name, Show(sources).c_str());
    members.push_back({name, *bytes, true});
  }
  members.push_back({"CVSHARE1.DLL", "MZ the shared library, as this product brings it", true});
  members.push_back({"CVSHARE2.DLL", "MZ a library only this product uses", false});
  const std::string medium = Bench().medium;
  if (!CopyFileA(machine::Join(kRealMedium, "_SETUP.DLL").c_str(), (medium + "\\_SETUP.DLL").c_str(), FALSE) ||
      !machine::WriteFile(medium + "\\_SETUP.PAK", PayloadStore(members)) ||
      !machine::WriteFile(medium + "\\SETUP.INI",
                          "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
                          "SETUP004=Corvane.dll\r\nSETUP005=%sCVSHARE1.DLL\r\nSETUP006=%sCVSHARE2.DLL\r\n\r\n"
                          "[SetupPersent]\r\nSETUP001=50\r\nSETUP002=10\r\nSETUP003=10\r\nSETUP004=10\r\n"
                          "SETUP005=10\r\nSETUP006=10\r\n\r\n[SetupLink]\r\nSETUP001=NO\r\nSETUP002=NO\r\n"
                          "SETUP003=Unsetup.LNK\r\n")) {
    Abort("cannot lay out the medium in %s", Show(medium).c_str());
  }
}


}  // namespace

SCENARIO(uninstall_exactly_the_journal, "install with two system-folder files, one already counted by another program; the user's files added; the uninstaller answered No takes exactly the journal's items and puts the counts back; installed again, Yes takes the rest") {
  RequireRealMedium();
  PrepareMachine();
  PrepareUserFile();
  LayOutSharedMedium();
  const std::string folder = texts::kDefaultFolder, system = machine::SystemFolder();
  const std::string shared = system + "\\CVSHARE1.DLL", own = system + "\\CVSHARE2.DLL";
  // Another program's copy, counted by its own installer.
  machine::WriteFile(shared, "MZ another program's copy");
  machine::SetRegistryNumber(HKEY_LOCAL_MACHINE, kSharedDlls, shared.c_str(), 1);
  DeleteFileA(own.c_str());

  InstallFrom(FromExplorer());
  ExpectProductInstalled();
  ExpectCount(shared, 2, "after the install");
  ExpectCount(own, 1, "after the install");
  const std::string notes = folder + "\\notes.txt", update = folder + "\\Update\\patch.dat";
  machine::WriteFile(notes, "the user's notes");
  machine::WriteFile(update, "an update the product fetched");

  std::string command = machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "UninstallString").value_or("");
  Uninstallation run = Uninstall(command, IDNO);
  if (run.texts.size() != 3 || run.texts[1].find("notes.txt") == std::string::npos ||
      run.texts[1].find("Update\\") == std::string::npos) {
    Fail("expected the question, the question about notes.txt and Update, and the last message; saw %zu messages",
         run.texts.size());
  }
  for (const char* name : {"CV32W.EXE", "Schedule.EXE", "Unsetup.exe", "Corvane.dll", "Setup.run", "VProtect", "Vlist"}) {
    if (machine::Exists(machine::Join(folder, name))) Fail("setup's %s is still in the install folder", name);
  }
  ExpectText(machine::ReadFile(notes).value_or("(gone)"), "the user's notes", "the user's notes.txt");
  ExpectText(machine::ReadFile(update).value_or("(gone)"), "an update the product fetched", "Update\\patch.dat");
  for (const std::string& path : {GroupFolder(), MainLink(), ScheduleLink()}) {
    if (machine::Exists(path)) Fail("%s is still there", Show(path).c_str());
  }
  if (machine::HasProfileSection("Corvane")) Fail("win.ini still has the section Corvane");
  if (machine::RegistryKeyExists(HKEY_LOCAL_MACHINE, texts::kUninstallKey)) Fail("the uninstall entry is still there");
  if (machine::Exists(machine::Join(machine::WindowsFolder(), kJournalFileName))) Fail("the journal is still there");
  if (!machine::Exists(shared)) Fail("%s, which another program counts, went", Show(shared).c_str());
  ExpectCount(shared, 1, "after the uninstaller");
  if (machine::Exists(own)) Fail("%s, which only this product used, is still there", Show(own).c_str());
  ExpectCount(own, std::nullopt, "after the uninstaller");
  ExpectText(machine::ReadFile(kUserFile).value_or("(absent)"), kUserText, "the user's file in another folder");

  InstallFrom(FromExplorer());
  ExpectProductInstalled();
  command = machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "UninstallString").value_or("");
  run = Uninstall(command, IDYES);
  ExpectNoTrace();
  ExpectCount(shared, 1, "after the second uninstaller");
  ExpectCount(own, std::nullopt, "after the second uninstaller");
}

SCENARIO(uninstall_tampered_records, "real medium: records changed by hand to a drive root, the Windows folder in other spellings, Program Files by its short name, the desktop as the group: each refused with a message, nothing of the user's lost; then the journal's own removal") {
  RequireRealMedium();
  PrepareMachine();
  PrepareUserFile();
  Launch silent;
  silent.commandLine = std::string("\"") + kRealMedium + "\\SETUP.EXE\" /S /TASKS=00";
  silent.folder = machine::WindowsFolder();
  {
    SetupProcess setup(silent);
    DWORD code = 1;
    if (!setup.WaitEnd(60000, &code) || code != 0) Abort("the silent install ended with %lu", code);
  }
  ExpectProductInstalled();
  const std::string windows = machine::WindowsFolder();
  const std::vector<std::pair<std::string, std::string>> planted = {
      {"C:\\CV32W.EXE", "MZ the user's own program at the root"},
      {"C:\\UPDATE\\user.dat", "the user's data in C:\\UPDATE"},
      {windows + "\\UPDATE\\keep.dat", "kept in the Windows folder"},
      {windows + "\\Desktop\\mine.lnk", "a desktop shortcut"},
      {windows + "\\Desktop\\old.pif", "a desktop pif"},
      {"C:\\Program Files\\Other\\x.txt", "another program's file"},
  };
  for (const auto& [path, text] : planted) {
    machine::MakeFolders(path.substr(0, path.find_last_of('\\')));
    machine::WriteFile(path, text);
  }
  // Without the journal the records are all the uninstaller has.
  const std::string journal = machine::Join(windows, kJournalFileName);
  std::string keptJournal = machine::ReadFile(journal).value_or("");
  if (keptJournal.empty()) Abort("the install kept no journal");
  DeleteFileA(journal.c_str());
  const std::string command = "\"" + std::string(texts::kDefaultFolder) + "\\Unsetup.exe\"";
  // Program Files by its 8.3 name, as the system gives it (Wine's differ
  // from Windows 9x's PROGRA~1).
  char shortPrograms[MAX_PATH] = "";
  if (!GetShortPathNameA("C:\\Program Files", shortPrograms, sizeof shortPrograms)) Abort("no short name of Program Files");
  const std::vector<std::pair<const char*, std::string>> tamperings = {
      {"Install", "C:\\/"},          {"Install", "C:\\windows."}, {"Install", "\\\\?\\C:\\WINDOWS"},
      {"Install", std::string(shortPrograms)}, {"LInstall", windows + "\\Desktop"},
  };
  for (const auto& [key, value] : tamperings) {
    std::string install = machine::Profile("Corvane", "Install").value_or("");
    std::string group = machine::Profile("Corvane", "LInstall").value_or("");
    machine::SetProfile("Corvane", key, value.c_str());
    Uninstallation run = Uninstall(command);
    if (run.texts.empty() || run.texts[0].find("지울 수 없으므로") == std::string::npos ||
        run.texts[0].find(value) == std::string::npos) {
      Fail("with %s=%s the uninstaller showed %s, not a refusal naming the folder", key, Show(value).c_str(),
           run.texts.empty() ? "nothing" : Show(run.texts[0]).c_str());
    }
    machine::SetProfile("Corvane", "Install", install.c_str());
    machine::SetProfile("Corvane", "LInstall", group.c_str());
    for (const auto& [path, text] : planted) {
      ExpectText(machine::ReadFile(path).value_or("(gone)"), text, (std::string(key) + "=" + value + ": " + path).c_str());
    }
  }
  ExpectProductInstalled();
  // With its journal back, the uninstaller removes exactly what setup made.
  machine::WriteFile(journal, keptJournal);
  ExpectAskedAndDone(Uninstall(command));
  ExpectNoTrace();
  for (const auto& [path, text] : planted) ExpectText(machine::ReadFile(path).value_or("(gone)"), text, path.c_str());
}
