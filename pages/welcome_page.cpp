// Welcome page (111): leaving it ends the programs of an earlier installation.
#include <windows.h>

#include "install/stop_processes.h"
#include "pages/page_common.h"
#include "resources/ids.h"

namespace {

void OnWelcomeCommand(HWND page, int command) {
  // Done while the page is still shown, before the agreement page opens.
  if (command == IDC_NEXT) StopProductProcesses();
  FollowFlow(page, IDD_WELCOME, command);
}

}  // namespace

INT_PTR CALLBACK WelcomePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      CenterPage(page);
      FocusNext(page);
      return FALSE;
    case WM_COMMAND:
      OnWelcomeCommand(page, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}
