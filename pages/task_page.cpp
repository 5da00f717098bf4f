// Task page (148) and finish page (116): the follow-up tasks are written to
// Setup.run and _ISDEL.EXE carries them out after setup.
#include <windows.h>

#include <cstdio>

#include "pages/page_common.h"
#include "pages/task_mask.h"
#include "resources/ids.h"
#include "shell/setup_log.h"
#include "shell/shell_state.h"

namespace {

// Written by the task page's Next, read by the finish page.  Only OR-ed into.
unsigned char g_taskMask;

const int kCheckOrder[] = {IDC_TASK_UPDATE, IDC_TASK_RESCUE_DISK, IDC_TASK_SAFE_BOOT,
                           IDC_TASK_SCHEDULED, IDC_TASK_RUN_PRODUCT};

void OnTaskInit(HWND page) {
  CenterPage(page);
  for (int id : kCheckOrder) SendDlgItemMessageA(page, id, BM_SETCHECK, BST_CHECKED, 0);
  FocusNext(page);
}

void OnTaskCommand(HWND page, int command) {
  if (command == IDC_NEXT) {
    for (int i = 0; i < kTaskCount; ++i)
      if (SendDlgItemMessageA(page, IDC_TASK_SAFE_BOOT + i, BM_GETCHECK, 0, 0) == BST_CHECKED)
        g_taskMask |= TaskBit(i);
  }
  FollowFlow(page, IDD_TASKS, command);
}

void OnFinishInit(HWND page) {
  SetWindowPos(g_backdrop, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN) + 1,
               GetSystemMetrics(SM_CYSCREEN) + 1, SWP_NOMOVE);
  CenterPage(page);
  FocusNext(page);
}

// The finish button, Enter, Esc and the close box all finish; nothing is asked.
void OnFinishCommand(HWND page, int command) {
  if (command != IDC_NEXT && command != IDC_CANCEL) return;
  HandOffTasks(g_installFolder, g_taskMask);
  QuitSetup(page);
}

}  // namespace

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

INT_PTR CALLBACK TaskPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      OnTaskInit(page);
      return FALSE;
    case WM_COMMAND:
      OnTaskCommand(page, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK FinishPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      OnFinishInit(page);
      return FALSE;
    case WM_COMMAND:
      OnFinishCommand(page, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}
