// The preparing dialog and the job that its bar starts.
#include "shell/preparing_dialog.h"

#include "resources/ids.h"
#include "shell/backdrop.h"
#include "shell/logo.h"
#include "ui/progress_bar.h"
#include "ui/window_placement.h"

namespace {

constexpr int kPreparingBarX = 70, kPreparingBarY = 66;
constexpr int kPreparingBarWidth = 280, kPreparingBarHeight = 21;
constexpr DWORD kHoldMs = 3000;

// Written when the dialog opens; read by the preparing job.
HWND g_preparingDialog;
HWND g_preparingBar;

// Counts the bar from 0 to 100, holds it there, then closes the dialog.  No
// message is handled meanwhile, by design: about four seconds.
void RunPreparingJob() {
  AnimateProgress(g_preparingBar, 0, 101);
  Sleep(kHoldMs);
  ShowWindow(g_logo, SW_HIDE);
  EndDialog(g_preparingDialog, 0);
}

// The dialog handles no command, so neither Esc, Enter nor the close box can
// end it: only the preparing job does.
INT_PTR CALLBACK PreparingDialogProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_INITDIALOG) return FALSE;
  g_preparingDialog = dialog;
  PlaceBelowLogo(dialog);
  g_preparingBar = CreateProgressBar(g_instance, dialog, kPreparingBarX, kPreparingBarY, kPreparingBarWidth,
                                     kPreparingBarHeight, IDC_PREPARING_BAR, BarJob{NULL, RunPreparingJob});
  return FALSE;
}

}  // namespace

void RunPreparingDialog(HWND backdrop) {
  DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_PREPARING), backdrop, PreparingDialogProc, 0);
}
