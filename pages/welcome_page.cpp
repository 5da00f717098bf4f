// Welcome page (111): leaving it ends the programs of an earlier installation.
#include <windows.h>

#include "install/stop_processes.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "resources/ids.h"

namespace {

void OnWelcomeCommand(HWND page, int command) {
  // Done while the page is still shown, before the agreement page opens.
  if (command == IDC_NEXT) StopProductProcesses();
  FollowFlow(page, IDD_WELCOME, command);
}

}  // namespace

const PageHandlers kWelcomePage = {SidePicture::Shown, InitPlainPage, OnWelcomeCommand, NULL};
