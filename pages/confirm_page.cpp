// Confirmation page (115): the summary, then Next runs the copy.
#include <windows.h>

#include "pages/copy_page.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/summary.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "ui/window_placement.h"

namespace {

constexpr DWORD kComputerNameSize = 16;
constexpr UINT kDirectoryReadSize = 255;

ComputerFacts GatherFacts() {
  ComputerFacts f;
  f.installFolder = g_installFolder;
  char value[256] = "";
  DWORD size = kComputerNameSize;
  if (!GetComputerNameA(value, &size)) value[0] = '\0';
  f.computerName = value;
  SplitVersion(GetVersion(), &f.majorVersion, &f.minorVersion);
  value[0] = '\0';
  GetWindowsDirectoryA(value, kDirectoryReadSize);
  f.windowsDirectory = value;
  value[0] = '\0';
  GetSystemDirectoryA(value, kDirectoryReadSize);
  f.systemDirectory = value;
  return f;
}

void OnConfirmInit(HWND page) {
  CenterOnScreen(page);
  FocusNext(page);
  SetWindowTextA(GetDlgItem(page, IDC_SUMMARY_TEXT), BuildSummary(GatherFacts()).c_str());
}

// The copy page and then the task page open from here, both owned by the
// backdrop, after this page has ended.
void OnConfirmNext(HWND page) {
  EndDialog(page, 0);
  HWND logo = g_wizardWindows.logo;
  ShowWindow(logo, SW_SHOW);
  // Windows keeps an owned window above its top-most owner; Wine leaves the
  // logo behind the backdrop unless it is raised to the same band.
  SetWindowPos(logo, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (RunCopyPage()) OpenPage(IDD_TASKS);
}

void OnConfirmCommand(HWND page, int command) {
  if (command == IDC_NEXT) {
    OnConfirmNext(page);
    return;
  }
  FollowFlow(page, IDD_CONFIRM, command);
}

}  // namespace

const PageHandlers kConfirmPage = {SidePicture::Shown, OnConfirmInit, OnConfirmCommand, NULL};
