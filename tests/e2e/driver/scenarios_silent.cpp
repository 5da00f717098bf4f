// SETUP.EXE /S and Unsetup.exe /S end to end: the same files, records, links
// and hand-off as the wizard's, no window, the result codes that deployment
// tools read, and the log.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "install/journal_format.h"
#include "install/run_lock.h"
#include "outcome.h"
#include "scenario.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/ui.h"
#include "texts.h"
#include "wizard.h"

namespace {

constexpr unsigned kSilentTimeoutMs = 60000;

std::string Log() { return Bench().home + "\\silent.log"; }

// Runs SETUP.EXE of the medium with `switches` from the current folder
// `folder` and returns its exit code; it must end on its own and show no
// window.
DWORD RunSilent(const std::string& switches, const std::string& medium = Bench().medium,
                const std::string& folder = machine::WindowsFolder()) {
  Launch launch;
  launch.commandLine = "\"" + medium + "\\SETUP.EXE\" " + switches;
  launch.folder = folder;
  SetupProcess setup(launch);
  DWORD code = 0;
  if (!setup.WaitEnd(kSilentTimeoutMs, &code)) Abort("SETUP.EXE %s does not end; on screen:%s", switches.c_str(), DescribeScreen().c_str());
  setup.ExpectNoWindow(("SETUP.EXE " + switches).c_str());
  Note("SETUP.EXE %s ended with %lu", Show(switches).c_str(), code);
  return code;
}

void ExpectLogHas(const std::vector<std::string>& lines) {
  std::string log = machine::ReadFile(Log()).value_or("");
  for (const std::string& line : lines) {
    if (log.find(line) == std::string::npos) Fail("the log lacks %s; it holds:\n%s", Show(line).c_str(), Show(log).c_str());
  }
}

std::string Journal() { return machine::Join(machine::WindowsFolder(), kJournalFileName); }

// Nothing of a refused run: no folder, no record, no journal, no call.
void ExpectNothingDone(const char* after) {
  if (!InstallCalls().empty()) Fail("after %s InitInstall was called", after);
  if (machine::Exists(texts::kDefaultFolder)) Fail("after %s the install folder was made", after);
  if (machine::Exists(Journal())) Fail("after %s a journal was written", after);
  ExpectNotRegistered();
}

// Which restart replacement holds a rename onto path: WININIT.INI's
// [rename] section (Windows 95/98/Me) or the registry list that MoveFileEx
// keeps (the NT family).
std::string RestartReplacementOf(const std::string& path) {
  const std::string name = text::Upper(path.substr(path.find_last_of('\\') + 1));
  std::string used;
  const std::string wininit = text::Upper(machine::ReadFile(machine::WindowsFolder() + "\\WININIT.INI").value_or(""));
  if (wininit.find("[RENAME]") != std::string::npos && wininit.find("\\" + name + "=") != std::string::npos) {
    used = "WININIT.INI";
  }
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    std::string pending(64 * 1024, '\0');
    DWORD size = static_cast<DWORD>(pending.size());
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&pending[0]), &size) == ERROR_SUCCESS) {
      pending.resize(size);
      for (char& c : pending) c = c ? c : '\n';
      if (text::Upper(pending).find("\\" + name + "\n") != std::string::npos) used += used.empty() ? "MoveFileEx" : " and MoveFileEx";
    }
    RegCloseKey(key);
  }
  return used.empty() ? "none" : used;
}

// A program of the product, started from the install folder as its
// shortcut starts it, once its window is up.
bool StartProduct(machine::Process& process, const std::string& folder, const char* program, const char* windowClass) {
  if (!process.Start("\"" + machine::Join(folder, program) + "\"", folder)) return false;
  return ui::WaitVisible(0, windowClass, nullptr, 20000) != nullptr;
}

}  // namespace

SCENARIO(silent_every_switch, "SETUP.EXE /S with every switch: installed like the wizard's full walk into the given folder, with the given user, tasks and log, code 0, no window") {
  PrepareMachine();
  // C:\Apps is not there: a folder given on the command line is made whole.
  const std::string folder = "C:\\Apps\\코르바네 설치";
  DWORD code = RunSilent("/NAME=\"홍 길동\" /s /Company=\"(주)코르바네\" /SCAN=REPORT /TASKS=0A /LOG=\"" + Log() +
                         "\" /D=" + folder);
  ExpectNumber(code, 0, "exit code");
  ExpectInstalled(folder, 0x0A);
  ExpectText(machine::Profile("Corvane", "Name").value_or("(absent)"), "홍 길동", "win.ini Corvane Name");
  ExpectText(machine::Profile("Corvane", "Company").value_or("(absent)"), "(주)코르바네", "win.ini Corvane Company");
  ExpectLogHas({"설치 폴더: " + folder, "폴더 만들기: C:\\Apps", "사용자: 홍 길동 / (주)코르바네", "바이러스 검사: REPORT",
                "파일 설치: " + folder + "\\CV32W.EXE", "이미 있어 건너뜀: " + machine::SystemFolder() + "\\CVSKIP.DLL",
                "win.ini 기록: [Corvane] Install", "_ISDEL.EXE 시작", "끝 코드 0"});
}

SCENARIO(silent_defaults, "SETUP.EXE /S alone: the wizard's defaults (folder, every task), MemChk started, code 0") {
  PrepareMachine();
  ExpectNumber(RunSilent("/S"), 0, "exit code");
  ExpectInstalled(texts::kDefaultFolder, 0x1F);
  if (MediumHas("MemChk.exe") && !WaitForMemoryCheck(10000)) Fail("MemChk.exe did not run");
}

SCENARIO(silent_refusals, "SETUP.EXE /S refuses with nothing done: a bad switch or a /D= the uninstaller could not empty 1639, the run lock held 1618, a second setup either way 1618 (a lock left by a killed wizard does not count), a missing library 1603, an installed product 1638") {
  PrepareMachine();
  ExpectNumber(RunSilent("/S /SCAN=ALL /LOG=\"" + Log() + "\""), 1639, "exit code of a bad /SCAN value");
  ExpectLogHas({"/SCAN=", "끝 코드 1639"});
  ExpectNumber(RunSilent("/S /D=Corvane"), 1639, "exit code of a relative /D=");
  // Folders that the uninstaller would refuse to empty, each with a word of its reason.
  for (const auto& [folder, reason] : {std::pair<std::string, std::string>{"C:\\WINDOWS", "중요한 폴더"},
                                       {"C:\\", "드라이브의 루트"}, {"\\\\server\\share", "공유의 루트"}}) {
    ExpectNumber(RunSilent("/S /LOG=\"" + Log() + "\" /D=" + folder), 1639, ("exit code of /D=" + folder).c_str());
    ExpectLogHas({"/D= 폴더에는 설치할 수 없습니다: " + folder + " (", reason, "끝 코드 1639"});
  }
  ExpectNothingDone("bad switches");
  {
    // An uninstaller at work: waited for, then refused before the rollback.
    HeldRunLock uninstaller;
    ExpectNumber(RunSilent("/S /LOG=\"" + Log() + "\""), 1618, "exit code while the run lock is held");
    ExpectLogHas({"다른 설치나 제거가 실행 중입니다.", "끝 코드 1618"});
  }
  ExpectNothingDone("a held run lock");

  // Kept open by the driver, the wizard's lock outlives it: abandoned.
  HANDLE abandoned = nullptr;
  {
    SetupProcess wizardProcess(FromExplorer());
    Wizard wizard(wizardProcess);
    wizard.ExpectStart();
    ExpectNumber(RunSilent("/S"), 1618, "exit code beside a running wizard");
    abandoned = OpenMutexA(SYNCHRONIZE, FALSE, kRunLockName);
    if (!abandoned) Fail("the running wizard holds no run lock");
    TerminateProcess(wizardProcess.Handle(), 1);
    if (!wizardProcess.WaitEnd(10000, nullptr)) Abort("the wizard does not end when forced");
  }
  {
    // A slow copy keeps the silent setup running while a wizard starts.
    SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", "1500");
    Launch launch;
    launch.commandLine = "\"" + Bench().medium + "\\SETUP.EXE\" /S";
    launch.folder = machine::WindowsFolder();
    SetupProcess silent(launch);
    if (!ui::WaitUntil([] { return !InstallCalls().empty(); }, 30000)) Abort("the silent setup does not start copying");
    SetupProcess wizard(FromExplorer());
    wizard.ExpectEnd(10000, "its start beside a silent setup");
    wizard.ExpectNoWindow("the second setup");
    DWORD code = 1;
    if (!silent.WaitEnd(kSilentTimeoutMs, &code)) Abort("the silent setup does not end");
    ExpectNumber(code, 0, "exit code of the silent setup after a wizard ended by force");
    SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", nullptr);
  }
  if (abandoned) CloseHandle(abandoned);
  ExpectNumber(RunSilent("/S"), 1638, "exit code with the product installed");

  // The product gone by hand, and the support library missing from the medium.
  DeleteFileA((std::string(texts::kDefaultFolder) + "\\CV32W.EXE").c_str());
  DeleteFileA((Bench().medium + "\\_SETUP.DLL").c_str());
  ExpectNumber(RunSilent("/S /D=C:\\Other\\Corvane"), 1603, "exit code without _SETUP.DLL");
  if (machine::Exists("C:\\Other\\Corvane")) Fail("a folder was made without the support library");
}

SCENARIO(silent_failure_rolls_back, "SETUP.EXE /S into a folder below a missing one, whose copy fails at the second file: code 1603, the log names the file, the PC as before") {
  PrepareMachine();
  SetChildEnvironment("CORVANE_SETUPDLL_FAIL_AT", "2");
  // C:\Apps is made for the run, and goes with it.
  ExpectNumber(RunSilent("/S /LOG=" + Log() + " /D=C:\\Apps\\Corvane"), 1603, "exit code");
  ExpectLogHas({"파일을 만들 수 없습니다: Schedule.EXE", "설치한 것을 모두 되돌립니다.", "끝 코드 1603"});
  if (machine::Exists("C:\\Apps")) Fail("the folder made above the install folder is still there");
  if (machine::Exists(Journal())) Fail("the journal is still there");
  ExpectNotRegistered();
  ExpectNoFollowUp();
}

SCENARIO(silent_uninstall, "real medium: SETUP.EXE /S, then Unsetup.exe /S keeps the user's files (code 0) and Unsetup.exe /S /ALL takes them too, with the folders setup made above the install folder") {
  if (!machine::Exists(std::string(kRealMedium) + "\\_SETUP.PAK")) Skip("no real medium");
  PrepareMachine();
  for (bool all : {false, true}) {
    // The second time into a folder below a missing one, which goes too.
    const std::string folder = all ? "C:\\Apps\\Corvane" : texts::kDefaultFolder, notes = folder + "\\notes.txt";
    ExpectNumber(RunSilent(all ? "/S /TASKS=00 /D=" + folder : "/S /TASKS=00", kRealMedium), 0,
                 "exit code of the silent install");
    ExpectRegistered(folder);
    machine::WriteFile(notes, "the user's notes");
    std::string log = Bench().home + "\\unsetup.log";
    std::string command = "\"" + folder + "\\Unsetup.exe\" /S /LOG=" + log + (all ? " /ALL" : "");
    if (!all) {
      // A setup at work: the uninstaller waits for it, then refuses and removes nothing.
      HeldRunLock setup;
      machine::Process refused;
      if (!refused.Start(command, machine::WindowsFolder())) Abort("cannot start %s", Show(command).c_str());
      DWORD code = 0;
      refused.WaitEnd(kSilentTimeoutMs, &code);
      ExpectNumber(code, 1618, "exit code of Unsetup.exe /S while the run lock is held");
      ExpectRegistered(folder);
      if (!machine::Exists(notes) || !machine::Exists(folder + "\\Unsetup.exe")) Fail("the refused uninstaller removed files");
    }
    machine::Process unsetup;
    if (!unsetup.Start(command, machine::WindowsFolder())) Abort("cannot start %s", Show(command).c_str());
    DWORD code = 1;
    unsetup.WaitEnd(kSilentTimeoutMs, &code);
    ExpectNumber(code, 0, all ? "exit code of Unsetup.exe /S /ALL" : "exit code of Unsetup.exe /S");
    ExpectNotRegistered();
    if (machine::Exists(Journal())) Fail("the journal is still there");
    // The uninstaller's copy in TEMP deletes the uninstaller itself.
    if (!ui::WaitUntil([&] { return !machine::Exists(folder + "\\Unsetup.exe"); }, 15000, 50)) Fail("Unsetup.exe stays");
    for (const char* name : {"CV32W.EXE", "Schedule.EXE", "Corvane.dll"}) {
      if (machine::Exists(machine::Join(folder, name))) Fail("%s stays", name);
    }
    if (all) {
      if (!ui::WaitUntil([&] { return !machine::Exists("C:\\Apps"); }, 15000, 50)) Fail("/ALL left C:\\Apps");
    } else {
      ExpectText(machine::ReadFile(notes).value_or("(gone)"), "the user's notes", "the user's notes.txt");
      if (machine::ReadFile(log).value_or("").find("끝 코드 0") == std::string::npos) Fail("the uninstaller's log has no result");
    }
  }
}

SCENARIO(silent_scan_modes, "SETUP.EXE /S with the real engine on a planted EICAR file and a repairable infection, under each /SCAN value") {
  const std::string engine = Bench().home + "\\real\\Corvane.dll", samples = Bench().home + "\\samples\\";
  if (!machine::Exists(engine) || !machine::Exists(samples + "EICAR.BIN")) Skip("no real engine or samples");
  PrepareMachine();
  if (!CopyFileA(engine.c_str(), (Bench().medium + "\\Corvane.dll").c_str(), FALSE)) Abort("cannot put the real engine on the medium");
  const std::string eicar = "C:\\EICAR.COM", cloak = machine::WindowsFolder() + "\\CLOAK.EXE";
  const std::string infected = machine::ReadFile(samples + "CLOAK-A.BIN").value_or("");
  const std::string original = machine::ReadFile(samples + "ORIG-A.BIN").value_or("");
  struct Mode {
    const char* name;
    bool probed, eicarStays, cloakRepaired;
  };
  for (const Mode& mode : {Mode{"SKIP", false, true, false}, Mode{"REPORT", true, true, false},
                           Mode{"REPAIR", true, true, true}, Mode{"DELETE", true, false, true}}) {
    machine::WriteFile(eicar, machine::ReadFile(samples + "EICAR.BIN").value_or(""));
    machine::WriteFile(cloak, infected);
    WriteProfileStringA("Corvane", nullptr, nullptr);
    DeleteFileA((std::string(texts::kDefaultFolder) + "\\CV32W.EXE").c_str());
    ExpectNumber(RunSilent(std::string("/S /SCAN=") + mode.name + " /LOG=" + Log()), 0, mode.name);
    std::string log = machine::ReadFile(Log()).value_or("");
    bool found = log.find("바이러스 발견: " + eicar + " (EICAR-Test-File)") != std::string::npos &&
                 log.find("바이러스 발견: " + cloak + " (CvTest.Cloak)") != std::string::npos;
    if (found != mode.probed) Fail("/SCAN=%s: the log %s the findings", mode.name, found ? "lists" : "lacks");
    if (machine::Exists(eicar) != mode.eicarStays) Fail("/SCAN=%s: EICAR.COM %s", mode.name, mode.eicarStays ? "went" : "stayed");
    std::string now = machine::ReadFile(cloak).value_or("(gone)");
    if ((now == original) != mode.cloakRepaired || (!mode.cloakRepaired && now != infected)) {
      Fail("/SCAN=%s: CLOAK.EXE is %s", mode.name, now == original ? "repaired" : now == infected ? "as infected" : "changed");
    }
  }
}

SCENARIO(silent_file_in_use, "real medium: SETUP.EXE /S over a Corvane.dll that another program holds open: installed, the library waits for the next start, code 3010") {
  if (!machine::Exists(std::string(kRealMedium) + "\\_SETUP.PAK")) Skip("no real medium");
  PrepareMachine();
  const std::string library = std::string(texts::kDefaultFolder) + "\\Corvane.dll";
  machine::MakeFolders(texts::kDefaultFolder);
  machine::WriteFile(library, "MZ an older engine, in use");
  HANDLE held = CreateFileA(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) Abort("cannot hold %s open", Show(library).c_str());
  DWORD code = RunSilent("/S /TASKS=00 /LOG=" + Log(), kRealMedium);
  CloseHandle(held);
  ExpectNumber(code, 3010, "exit code");
  ExpectLogHas({"사용 중인 파일, 다시 시작할 때 교체: " + library, "끝 코드 3010"});
  ExpectRegistered(texts::kDefaultFolder);
  std::string wininit = text::Upper(machine::ReadFile(machine::WindowsFolder() + "\\WININIT.INI").value_or(""));
  if (wininit.find("[RENAME]") == std::string::npos || wininit.find("\\CORVANE.DLL=") == std::string::npos) {
    Fail("WININIT.INI holds no replacement of Corvane.dll: %s", Show(wininit).c_str());
  }
}

SCENARIO(disc_matrix, "under the Windows version the prefix reports, from the disc's root: SETUP.EXE /S installs, a second run gives 1638, the product's programs start, Unsetup.exe /S ends them and removes everything; over a file in use, that Windows family's restart replacement. Prints a row of scripts/disc-matrix.sh's table") {
  RequireDisc();
  PrepareMachine();
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  const bool nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  const std::string folder = texts::kDefaultFolder, root = std::string(kDisc) + "\\";
  int failures = FailureCount();
  // "yes" when no check failed since the last column.
  auto column = [&failures] {
    const bool held = FailureCount() == failures;
    failures = FailureCount();
    return held ? "yes" : "NO";
  };

  ExpectNumber(RunSilent("/S /TASKS=00", kDisc, root), 0, "exit code of the install from the disc");
  ExpectRegistered(folder);
  const char* installed = column();
  ExpectNumber(RunSilent("/S /TASKS=00", kDisc, root), 1638, "exit code of a second install");
  const char* refused = column();

  machine::Process main, schedule;
  ExpectTrue(StartProduct(main, folder, "CV32W.EXE", "Corvane_CV32W"), "CV32W.EXE's window came");
  ExpectTrue(StartProduct(schedule, folder, "Schedule.EXE", "Corvane_Schedule"), "Schedule.EXE's window came");
  const char* started = column();

  // The uninstaller ends the running programs it finds in the install folder.
  Launch unsetup;
  unsetup.commandLine = "\"" + folder + "\\Unsetup.exe\" /S";
  unsetup.folder = machine::WindowsFolder();
  ExpectNumber(machine::RunToEnd(unsetup, 60000), 0, "exit code of Unsetup.exe /S");
  ExpectTrue(main.WaitEnd(5000) && schedule.WaitEnd(5000), "the product's programs ended by the uninstaller");
  ExpectNotRegistered();
  if (!ui::WaitUntil([&] { return !machine::Exists(folder); }, 15000, 50)) Fail("%s stays", Show(folder).c_str());
  const char* removed = column();

  const std::string library = folder + "\\Corvane.dll";
  machine::MakeFolders(folder);
  machine::WriteFile(library, "MZ an older engine, in use");
  HANDLE held = CreateFileA(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) Abort("cannot hold %s open", Show(library).c_str());
  const DWORD code = RunSilent("/S /TASKS=00", kDisc, root);
  CloseHandle(held);
  ExpectNumber(code, 3010, "exit code of the install over a library in use");
  const std::string replacement = RestartReplacementOf(library);
  ExpectText(replacement, nt ? "MoveFileEx" : "WININIT.INI", "the restart replacement used");

  const std::string reported = machine::Environment("CORVANE_WINDOWS");
  std::printf("matrix| %-6s | %lu.%lu.%lu %s | %-3s | %-3s | %-3s | %-3s | %s |\n",
              reported.empty() ? "win98" : reported.c_str(), version.dwMajorVersion, version.dwMinorVersion,
              version.dwBuildNumber & 0xFFFF, nt ? "NT" : "9x", installed, refused, started, removed,
              replacement.c_str());
  std::fflush(stdout);
}
