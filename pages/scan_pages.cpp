// Scan-choice page (151) and scan page (149).
#include <windows.h>

#include "pages/page_common.h"
#include "pages/page_table.h"
#include "resources/ids.h"
#include "scan/folder_scan.h"
#include "scan/scan_text.h"
#include "common/setup_log.h"
#include "ui/window_placement.h"

namespace {

const char kCancelScanText[] =
    "바이러스 검사를 취소하시겠습니까?\n바이러스 검사를 취소하시면 설치를 종료합니다.";
const char kVirusFoundTitle[] = "바이러스 발견";
const char kScanCompleteText[] = "바이러스 검사 완료";
const char kNoEngineText[] =
    "바이러스 검사 엔진(Corvane.dll)을 찾을 수 없어 바이러스 검사를 하지 못했습니다.\n"
    "검사를 하지 않고 설치를 계속합니다.";
const char kNoEngineTitle[] = "바이러스 검사";
constexpr UINT kScanTimerId = 1;
constexpr UINT kScanStartDelayMs = 100;
constexpr int kCounterReadSize = 255;

// The scan page's side of the scan: the current file, the counters (which
// live only as the texts of their fields), the last virus found, and the
// user's answer to each finding.
class ScanPage : public ScanObserver {
 public:
  explicit ScanPage(HWND page) : page_(page) {}

  void ShowFile(const Text& path) override {
    SetDlgItemTextA(page_, IDC_SCAN_CURRENT_FILE, CurrentFileText(path).c_str());
  }
  void Count(ScanCounter which) override {
    static const int kFields[] = {IDC_SCAN_COUNT_FILES, IDC_SCAN_COUNT_INFECTED, IDC_SCAN_COUNT_REPAIRED,
                                  IDC_SCAN_COUNT_DELETED};
    int id = kFields[static_cast<int>(which)];
    char text[kCounterReadSize + 1] = "";
    GetDlgItemTextA(page_, id, text, kCounterReadSize);
    SetDlgItemTextA(page_, id, NextCount(text).c_str());
  }
  void ShowVirus(const char* name) override { SetDlgItemTextA(page_, IDC_SCAN_LAST_VIRUS, name); }
  bool AskToTreat(int report, const Text& path, const char* virusName) override {
    SetupLog("바이러스 발견: " + path + " (" + virusName + ")");
    Text question = VirusQuestion(report, path, virusName);
    return MessageBoxA(page_, question.c_str(), kVirusFoundTitle, MB_ICONQUESTION | MB_YESNOCANCEL) == IDYES;
  }
  void Treated(const Text& path, short result) override { SetupLog(TreatmentLogLine(path, result)); }
  // Cancel reaches the page here; a confirmed quit stops the scan before its
  // next file.
  bool KeepGoing() override { return DrainMessages(); }

 private:
  HWND page_;
};

void ShowScanComplete(HWND page) {
  EnableWindow(GetDlgItem(page, IDC_CANCEL), FALSE);
  EnableWindow(GetDlgItem(page, IDC_NEXT), TRUE);
  SetDlgItemTextA(page, IDC_SCAN_CURRENT_FILE, kScanCompleteText);
  SetFocus(GetDlgItem(page, IDC_NEXT));
}

// Without a usable engine no file is probed.  The user is told, so that the
// completed page is not taken for a clean result.
void RunScan(HWND page) {
  ScanPage observer(page);
  ScanOutcome outcome = ScanKeyFolders(&observer);
  if (outcome == ScanOutcome::Stopped) return;
  if (outcome == ScanOutcome::NoEngine) MessageBoxA(page, kNoEngineText, kNoEngineTitle, MB_OK | MB_ICONWARNING);
  ShowScanComplete(page);
}

void OnScanChoiceInit(HWND page) {
  CenterOnScreen(page);
  SendDlgItemMessageA(page, IDC_SCAN_FIRST, BM_SETCHECK, BST_CHECKED, 0);
  FocusNext(page);
}

void OnScanChoiceCommand(HWND page, int command) {
  if (command != IDC_NEXT) {
    FollowFlow(page, IDD_SCAN_CHOICE, command);
    return;
  }
  // The choice is read now and not kept: every opening checks 1016 again.
  bool scan = SendDlgItemMessageA(page, IDC_SCAN_FIRST, BM_GETCHECK, 0, 0) != 0;
  HandOver(page, scan ? IDD_SCAN : IDD_FOLDER);
}

// The scan starts from a timer so that the page is on screen before the first
// file is probed.
void OnScanInit(HWND page) {
  CenterOnScreen(page);
  SetTimer(page, kScanTimerId, kScanStartDelayMs, NULL);
  FocusNext(page);
}

// The timer stays set while the quit question is open, and ticks again once
// it is answered.
void OnScanTimer(HWND page) {
  if (QuitQuestionOpen()) return;
  KillTimer(page, kScanTimerId);
  RunScan(page);
}

// While the scan runs, Cancel reaches the page through the scan's own message
// draining; a confirmed quit makes the scan stop before its next file.
void OnScanCommand(HWND page, int command) {
  if (command == IDC_CANCEL) {
    // Once the scan is complete Cancel is disabled and Next is the only way
    // on; Wine's dialog manager still turns Esc and the close box into it.
    if (!IsWindowEnabled(GetDlgItem(page, IDC_CANCEL))) return;
    if (AskAboutQuitting(page, kCancelScanText, MB_YESNO | MB_ICONQUESTION) == IDYES)
      QuitSetup(page);
    return;
  }
  FollowFlow(page, IDD_SCAN, command);
}

}  // namespace

const PageHandlers kScanChoicePage = {SidePicture::Shown, OnScanChoiceInit, OnScanChoiceCommand, NULL};
const PageHandlers kScanPage = {SidePicture::Shown, OnScanInit, OnScanCommand, OnScanTimer};
