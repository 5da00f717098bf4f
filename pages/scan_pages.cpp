// Scan-choice page (151) and scan page (149).
#include <windows.h>

#include "pages/pages.h"
#include "resources/ids.h"
#include "scan/folder_scan.h"

namespace {

const char kCancelScanText[] =
    "바이러스 검사를 취소하시겠습니까?\n바이러스 검사를 취소하시면 설치를 종료합니다.";
const char kCancelScanTitle[] = "설치 종료";
constexpr UINT kScanTimerId = 1;
constexpr UINT kScanStartDelayMs = 100;

void OnScanChoiceInit(HWND page) {
  CenterPage(page);
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
  CenterPage(page);
  SetTimer(page, kScanTimerId, kScanStartDelayMs, NULL);
  FocusNext(page);
}

// The timer stays set while the quit question is open, and ticks again once
// it is answered.
void OnScanTimer(HWND page) {
  if (QuitQuestionOpen()) return;
  KillTimer(page, kScanTimerId);
  RunFolderScan(page);
}

// While the scan runs, Cancel reaches the page through the scan's own message
// draining; a confirmed quit makes the scan stop before its next file.
void OnScanCommand(HWND page, int command) {
  if (command == IDC_CANCEL) {
    // Once the scan is complete Cancel is disabled and Next is the only way
    // on; Wine's dialog manager still turns Esc and the close box into it.
    if (!IsWindowEnabled(GetDlgItem(page, IDC_CANCEL))) return;
    if (AskAboutQuitting(page, kCancelScanText, kCancelScanTitle, MB_YESNO | MB_ICONQUESTION) == IDYES)
      QuitSetup(page);
    return;
  }
  FollowFlow(page, IDD_SCAN, command);
}

}  // namespace

INT_PTR CALLBACK ScanChoicePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      OnScanChoiceInit(page);
      return FALSE;
    case WM_COMMAND:
      OnScanChoiceCommand(page, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK ScanPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      OnScanInit(page);
      return FALSE;
    case WM_TIMER:
      OnScanTimer(page);
      return TRUE;
    case WM_COMMAND:
      OnScanCommand(page, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}
