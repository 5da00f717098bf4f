// Finish page (116): the follow-up tasks are written to Setup.run and
// _ISDEL.EXE carries them out after setup.
#include "pages/finish_page.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "install/task_file.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "shell/setup_log.h"
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

// Binary mode: a mask of 0x0A must stay one byte.
void HandOffTasks(const char* installFolder, unsigned char taskMask) {
  std::string path = SetupRunPath(installFolder);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    std::fputc(taskMask, f);
    std::fclose(f);
  }
  char mask[8];
  std::snprintf(mask, sizeof mask, "%02X", taskMask);
  SetupLog(std::string("작업 파일 ") + path + " = " + mask + ", _ISDEL.EXE 시작");
  (void)WinExec(".\\_ISDEL.EXE", SW_SHOW);
}
