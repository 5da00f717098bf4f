// The scan of the key folders with per-file treatment.
#include "scan/folder_scan.h"

#include <string>

#include "resources/ids.h"
#include "scan/scan_engine.h"
#include "scan/scan_text.h"
#include "shell/shell_state.h"

namespace {

const char kVirusFoundTitle[] = "바이러스 발견";
const char kScanCompleteText[] = "바이러스 검사 완료";
const char kNoEngineText[] =
    "바이러스 검사 엔진(Corvane.dll)을 찾을 수 없어 바이러스 검사를 하지 못했습니다.\n"
    "검사를 하지 않고 설치를 계속합니다.";
const char kNoEngineTitle[] = "바이러스 검사";
constexpr int kCounterReadSize = 255;
constexpr UINT kWindowsDirectoryReadSize = 255;

HWND g_scanPage;
CvProbe g_currentProbe;

// The counters live only as the texts of their fields.
void RaiseCount(int id) {
  char text[kCounterReadSize + 1] = "";
  GetDlgItemTextA(g_scanPage, id, text, kCounterReadSize);
  SetDlgItemTextA(g_scanPage, id, NextCount(text).c_str());
}

// An engine that lacks any of its exports is not used: without turn-on its
// probes may find nothing, which would pass for a clean result.
bool EngineUsable() {
  return g_engine.probeInto && g_engine.recoverFile && g_engine.getVirusReport &&
         g_engine.getVirusName && g_engine.closeProbe && g_engine.turnOn && g_engine.turnOff;
}

void CloseCurrentProbe() {
  g_engine.closeProbe(g_currentProbe);
  g_currentProbe = 0;
}

// Asks about one finding; true when the user chose to treat it.
bool AskToTreat(int report, const std::string& path) {
  SetDlgItemTextA(g_scanPage, IDC_SCAN_LAST_VIRUS, g_engine.getVirusName(g_currentProbe));
  RaiseCount(IDC_SCAN_COUNT_INFECTED);
  std::string question = VirusQuestion(report, path, g_engine.getVirusName(g_currentProbe));
  return MessageBoxA(g_scanPage, question.c_str(), kVirusFoundTitle,
                     MB_ICONQUESTION | MB_YESNOCANCEL) == IDYES;
}

// Probes a file and offers every finding in turn.  A repair, or a result the
// scan does not know, probes the same file again.
void TreatFile(const std::string& path) {
  for (;;) {
    RaiseCount(IDC_SCAN_COUNT_FILES);
    ProbedFile probed;
    g_currentProbe = ProbeFile(path.c_str(), &probed);
    if (!g_currentProbe) return;
    int report = g_engine.getVirusReport(g_currentProbe);
    // The engine asks for this file to be left alone; its probe stays open.
    if (report == CV_REPORT_IGNORE) return;
    if (!AskToTreat(report, path)) {
      CloseCurrentProbe();
      return;
    }
    switch (TreatProbedFile(g_currentProbe, path.c_str(), probed)) {
      case CV_TREAT_REPAIRED:
        RaiseCount(IDC_SCAN_COUNT_REPAIRED);
        g_engine.closeProbe(g_currentProbe);
        break;
      case CV_TREAT_DELETED:
        RaiseCount(IDC_SCAN_COUNT_DELETED);
        CloseCurrentProbe();
        return;
      case CV_TREAT_ENDED:
        CloseCurrentProbe();
        return;
      default:
        break;
    }
  }
}

// Returns false once setup is ending, so that no further file is probed.
bool ShowAndScanFile(const std::string& path) {
  SetDlgItemTextA(g_scanPage, IDC_SCAN_CURRENT_FILE, CurrentFileText(path).c_str());
  TreatFile(path);
  return DrainMessages();
}

// Scans the files directly in a folder; sub-folders are never entered.
bool ScanFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool going = true;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    going = ShowAndScanFile(JoinPath(folder, found.cFileName));
  } while (going && FindNextFileA(search, &found));
  FindClose(search);
  return going;
}

bool ScanKeyFolders() {
  char windows[kWindowsDirectoryReadSize + 1] = "";
  GetWindowsDirectoryA(windows, kWindowsDirectoryReadSize);
  // C: is fixed, wherever Windows lives.
  return ScanFolder("C:\\") && ScanFolder(windows) && ScanFolder(JoinPath(windows, "Command"));
}

void ShowScanComplete() {
  EnableWindow(GetDlgItem(g_scanPage, IDC_CANCEL), FALSE);
  EnableWindow(GetDlgItem(g_scanPage, IDC_NEXT), TRUE);
  SetDlgItemTextA(g_scanPage, IDC_SCAN_CURRENT_FILE, kScanCompleteText);
  SetFocus(GetDlgItem(g_scanPage, IDC_NEXT));
}

}  // namespace

// Without a usable engine no file is probed.  The user is told, so that the
// completed page is not taken for a clean result.
void RunFolderScan(HWND page) {
  g_scanPage = page;
  bool usable = LoadScanEngine() == 0 && EngineUsable();
  bool completed = usable ? ScanKeyFolders() : true;
  UnloadScanEngine();
  if (!completed) return;
  if (!usable) MessageBoxA(page, kNoEngineText, kNoEngineTitle, MB_OK | MB_ICONWARNING);
  ShowScanComplete();
}
