// Task page (148): the follow-up tasks that _ISDEL.EXE carries out after
// setup, all checked at first.
#include <windows.h>

#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/task_mask.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "ui/window_placement.h"

namespace {

const int kCheckOrder[] = {IDC_TASK_UPDATE, IDC_TASK_RESCUE_DISK, IDC_TASK_SAFE_BOOT,
                           IDC_TASK_SCHEDULED, IDC_TASK_RUN_PRODUCT};

void OnTaskInit(HWND page) {
  CenterOnScreen(page);
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

}  // namespace

const PageHandlers kTaskPage = {SidePicture::Shown, OnTaskInit, OnTaskCommand, NULL};
