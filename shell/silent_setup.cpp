// SETUP.EXE /S: an install without a window.
#include "shell/silent_setup.h"

#include "common/folder_guard.h"
#include "common/setup_log.h"
#include "common/shell_calls.h"
#include "common/text.h"
#include "install/install_folder.h"
#include "install/install_job.h"
#include "install/rollback.h"
#include "install/run_lock.h"
#include "install/setup_library.h"
#include "install/stop_processes.h"
#include "install/task_file.h"
#include "install/user_records.h"
#include "scan/folder_scan.h"
#include "scan/scan_text.h"
#include "shell/startup.h"

namespace {

const char kVersion[] = "1.0";

// A hidden window of setup's class and title: a wizard started meanwhile sees
// it and ends, as it does for another wizard. It is made on a thread of its
// own while the install goes on: a process's first window can take a tenth
// of a second (under Wine it loads the display driver), and the run lock
// keeps every other setup out meanwhile.
class InstanceClaim {
 public:
  explicit InstanceClaim(HINSTANCE instance) : instance_(instance), end_(CreateEventA(NULL, TRUE, FALSE, NULL)) {
    if (end_ != NULL) thread_ = CreateThread(NULL, 0, Hold, this, 0, NULL);
  }
  ~InstanceClaim() {
    if (thread_ != NULL) {
      (void)SetEvent(end_);
      (void)WaitForSingleObject(thread_, INFINITE);
      (void)CloseHandle(thread_);
    }
    if (end_ != NULL) (void)CloseHandle(end_);
  }
  InstanceClaim(const InstanceClaim&) = delete;
  InstanceClaim& operator=(const InstanceClaim&) = delete;

 private:
  __attribute__((force_align_arg_pointer)) static DWORD WINAPI Hold(LPVOID parameter) {
    const InstanceClaim* self = static_cast<const InstanceClaim*>(parameter);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = self->instance_;
    wc.lpszClassName = kSetupWindowClass;
    (void)RegisterClassA(&wc);
    HWND claim = CreateWindowExA(0, kSetupWindowClass, kSetupWindowTitle, WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                 self->instance_, NULL);
    // The shortcuts at the install's end are the libraries' first use.
    late::LoadLibraries();
    (void)WaitForSingleObject(self->end_, INFINITE);
    if (claim != NULL) (void)DestroyWindow(claim);
    return 0;
  }

  HINSTANCE instance_;
  HANDLE end_;
  HANDLE thread_ = NULL;
};

// MemChk.exe started on a thread of its own: under Wine a process start holds
// its caller for ten milliseconds and more, and nothing that setup does next
// waits for the program. Setup does not end before the start is made.
class MemoryCheckStart {
 public:
  MemoryCheckStart() : thread_(CreateThread(NULL, 0, Start, NULL, 0, NULL)) {
    if (thread_ == NULL) StartMemoryCheck();
  }
  ~MemoryCheckStart() {
    if (thread_ == NULL) return;
    (void)WaitForSingleObject(thread_, INFINITE);
    (void)CloseHandle(thread_);
  }
  MemoryCheckStart(const MemoryCheckStart&) = delete;
  MemoryCheckStart& operator=(const MemoryCheckStart&) = delete;

 private:
  __attribute__((force_align_arg_pointer)) static DWORD WINAPI Start(LPVOID) {
    StartMemoryCheck();
    return 0;
  }
  HANDLE thread_;
};

// The answer to every finding comes from /SCAN: REPORT treats nothing,
// REPAIR what can be repaired, DELETE everything the engine can treat.
class SilentScan : public ScanObserver {
 public:
  explicit SilentScan(ScanMode mode) : mode_(mode) {}
  void ShowFile(const Text&) override {}
  void Count(ScanCounter which) override { counts_[static_cast<int>(which)]++; }
  void ShowVirus(const char*) override {}
  bool AskToTreat(int report, const Text& path, const char* virusName) override {
    SetupLog("바이러스 발견: " + path + " (" + virusName + ")");
    bool treat = mode_ == ScanMode::Delete || (mode_ == ScanMode::Repair && report == 0);
    if (!treat) SetupLog("치료하지 않고 남김: " + path);
    return treat;
  }
  void Treated(const Text& path, short result) override { SetupLog(TreatmentLogLine(path, result)); }
  bool KeepGoing() override { return true; }
  void LogCounts() const {
    char line[160];
    wsprintfA(line, "바이러스 검사 끝: 파일 %d, 감염 %d, 치료 %d, 삭제 %d", counts_[0], counts_[1], counts_[2],
              counts_[3]);
    SetupLog(line);
  }

 private:
  ScanMode mode_;
  int counts_[4] = {0, 0, 0, 0};
};

class SilentCopy : public InstallObserver {
 public:
  void ShowFile(const Text&) override {}
  void EntrySkipped(const Text& shownPath) override { SetupLog("이미 있어 건너뜀: " + shownPath); }
  void Advance(int) override {}
  bool KeepGoing() override { return true; }
  void TellFailure(const Text& name) override { SetupLog("파일을 만들 수 없습니다: " + name); }
};

const char* ScanModeName(ScanMode mode) {
  switch (mode) {
    case ScanMode::Skip: return "SKIP";
    case ScanMode::Report: return "REPORT";
    case ScanMode::Repair: return "REPAIR";
    case ScanMode::Delete: return "DELETE";
  }
  return "";
}

void Scan(ScanMode mode) {
  if (mode == ScanMode::Skip) {
    SetupLog("바이러스 검사: 하지 않음");
    return;
  }
  SetupLog(Text("바이러스 검사: ") + ScanModeName(mode));
  SilentScan scan(mode);
  if (ScanKeyFolders(&scan) == ScanOutcome::NoEngine) {
    SetupLog("검사 엔진(Corvane.dll)을 쓸 수 없어 검사하지 못했습니다.");
    return;
  }
  scan.LogCounts();
}

// From the checks on: what the wizard does with the switches' answers.
int Install(const SetupSwitches& switches) {
  // A folder that the uninstaller would refuse to empty (C:\WINDOWS, a drive
  // or share root) could never be removed again, and every later setup would
  // stop at the installed product: refused before anything is made.
  FolderRefusal why = FolderRefusal::None;
  if (switches.folderGiven && !MayRemoveOrStopIn(switches.folder, nullptr, &why)) {
    SetupLog("/D= 폴더에는 설치할 수 없습니다: " + switches.folder + " (" + FolderRefusalReason(why) + ")");
    return kExitBadCommandLine;
  }
  char buffer[kStartupBufferSize];
  EnterSetupFolder(buffer);
  const MemoryCheckStart memoryCheck;
  Text stuck;
  if (!FinishEarlierRun(&stuck)) {
    SetupLog("끝나지 않은 설치를 되돌리지 못해 설치하지 않습니다: " + stuck);
    return kExitFailed;
  }
  if (ProductAlreadyInstalled(buffer)) {
    SetupLog(Text("이미 설치되어 있습니다: ") + buffer);
    return kExitAlreadyInstalled;
  }
  if (!LoadSetupLibrary()) {
    SetupLog("설치에 필요한 _SETUP.DLL 또는 그 InitInstall이 없습니다.");
    return kExitFailed;
  }
  Text folder = switches.folderGiven ? switches.folder : kDefaultInstallFolder;
  SetupLog("설치 폴더: " + folder);

  StopProductProcesses();
  Text name, company;
  ReadOfferedUser(&name, &company);
  if (switches.nameGiven) name = switches.name;
  if (switches.companyGiven) company = switches.company;
  SetupLog("사용자: " + name + " / " + company);
  RecordUser(name, company);

  Scan(switches.scan);

  SilentCopy copy;
  InstallResult result = RunInstall(folder, ParentFolders::MadeWhenMissing, SetupLibraryInitInstall(), &copy);
  if (result == InstallResult::Failed || result == InstallResult::Stopped) return kExitFailed;
  HandOffTasks(folder, switches.tasksGiven ? switches.tasks : kEveryTask);
  if (result == InstallResult::InstalledRestartNeeded) {
    SetupLog("사용 중인 파일은 컴퓨터를 다시 시작할 때 바뀝니다.");
    return kExitRestartNeeded;
  }
  return kExitDone;
}

}  // namespace

int RunSilentSetup(HINSTANCE instance, const SetupSwitches& switches) {
  if (!switches.log.empty() && switches.log.size() <= kSwitchLogMax) (void)OpenSetupLog(switches.log);
  SYSTEMTIME now;
  GetLocalTime(&now);
  char started[64];
  wsprintfA(started, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  SetupLog(Text("코르바네™ ") + kVersion + " 설치 시작 (" + started + "), 명령줄: " + GetCommandLineA());
  if (!switches.error.empty()) {
    SetupLog("명령줄 오류: " + switches.error);
    return FinishSetupLog(kExitBadCommandLine);
  }
  if (FindWindowA(kSetupWindowClass, kSetupWindowTitle)) {
    SetupLog("다른 설치가 실행 중입니다.");
    return FinishSetupLog(kExitAnotherSetup);
  }
  RunLock lock;
  if (!lock.Held()) {
    SetupLog("다른 설치나 제거가 실행 중입니다.");
    return FinishSetupLog(kExitAnotherSetup);
  }
  int code;
  {
    const InstanceClaim claim(instance);
    code = Install(switches);
    FreeSetupLibrary();
  }
  return FinishSetupLog(code);
}
