// Finish page (116): the follow-up tasks are written to Setup.run and
// _ISDEL.EXE carries them out after setup.
#include "pages/finish_page.h"

#include <windows.h>

#include "common/bounded_text.h"
#include "common/start_program.h"
#include "common/text.h"

#include "install/task_file.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "common/setup_log.h"
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

// The task file holds the mask as one byte.
void HandOffTasks(const char* installFolder, unsigned char taskMask) {
  Text path = SetupRunPath(installFolder);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written;
    (void)WriteFile(file, &taskMask, 1, &written, NULL);
    CloseHandle(file);
  }
  SetupLog(Text("작업 파일 ") + path + " = " + HexText(taskMask, 2) + ", _ISDEL.EXE 시작");
  // Not awaited, and a failed start is not reported.
  (void)StartProgram(".\\_ISDEL.EXE", SW_SHOW);
}
