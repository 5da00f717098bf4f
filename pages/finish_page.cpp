// Finish page (116): the follow-up tasks are written to Setup.run and
// _ISDEL.EXE carries them out after setup.
#include <windows.h>

#include "install/task_file.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "ui/window_placement.h"

namespace {

void OnFinishInit(HWND page) {
  SetWindowPos(g_wizardWindows.backdrop, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN) + 1,
               GetSystemMetrics(SM_CYSCREEN) + 1, SWP_NOMOVE);
  CenterOnScreen(page);
  FocusNext(page);
}

// The finish button, Enter, Esc and the close box all finish; nothing is asked.
void OnFinishCommand(HWND page, int command) {
  if (command != IDC_NEXT && command != IDC_CANCEL) return;
  HandOffTasks(g_installFolder, g_taskMask);
  QuitSetup(page);
}

}  // namespace

const PageHandlers kFinishPage = {SidePicture::Shown, OnFinishInit, OnFinishCommand, NULL};
