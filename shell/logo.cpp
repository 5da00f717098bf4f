// The backdrop's creation handler, the logo window and the preparing dialog.
#include <windows.h>

#include "resources/ids.h"
#include "ui/placement.h"
#include "ui/progress_bar.h"
#include "shell/shell_state.h"

namespace {

const char kLogoClass[] = "CvLogo";
const char kSetupLibraryPath[] = ".\\_SETUP.DLL";
const char kMissingFilesText[] = "설치에 필요한 파일이 존재하지 않습니다.";
const char kSetupErrorTitle[] = "설치 오류";

constexpr int kPreparingBarX = 70, kPreparingBarY = 66;
constexpr int kPreparingBarWidth = 280, kPreparingBarHeight = 21;
constexpr int kAnimationStepMs = 10;
constexpr int kHoldMs = 3000;

// The logo must be on screen while the backdrop, its owner, is still hidden:
// that takes a top-level window owned by the backdrop.  A child window would
// stay hidden with its parent, and a non-child window takes its identifier
// argument for a menu handle, so none is passed.
HWND CreateLogoWindow(HWND backdrop) {
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  return CreateWindowExA(0, kLogoClass, NULL, WS_POPUP | WS_CHILD | WS_VISIBLE,
                         CenteredOrigin(cx, kLogoWidth), LogoTop(cy), kLogoWidth, kLogoHeight,
                         backdrop, NULL, g_instance, NULL);
}

void FailMissingFiles(HWND backdrop) {
  // No owner: the backdrop's handle is recorded only when its creation returns.
  MessageBoxA(NULL, kMissingFilesText, kSetupErrorTitle, MB_OK);
  DestroyWindow(backdrop);
}

void PlaceBelowLogo(HWND dialog) {
  RECT r;
  GetWindowRect(dialog, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  MoveWindow(dialog, CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), w),
             BelowLogoTop(GetSystemMetrics(SM_CYSCREEN), h), w, h, TRUE);
}

// The preparing dialog handles no command, so neither Esc, Enter nor the
// close box can end it: only the preparing job does.
INT_PTR CALLBACK PreparingDialogProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_INITDIALOG) return FALSE;
  g_hostDialog = dialog;
  PlaceBelowLogo(dialog);
  CreateProgressBar(dialog, kPreparingBarX, kPreparingBarY, kPreparingBarWidth,
                    kPreparingBarHeight, IDC_PREPARING_BAR);
  return FALSE;
}

void OnLogoPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBITMAP picture = LoadBitmapA(g_instance, MAKEINTRESOURCEA(IDB_LOGO));
  DrawBitmap(dc, picture, 0, 0, SRCCOPY);
  DeleteObject(picture);
  EndPaint(hwnd, &ps);
}

}  // namespace

void OnBackdropCreate(HWND backdrop) {
  HWND logo = CreateLogoWindow(backdrop);
  CopyBounded(g_installFolder, sizeof g_installFolder, kDefaultInstallFolder);
  g_logo = logo;

  g_setupLibrary = LoadLibraryA(kSetupLibraryPath);
  if (!g_setupLibrary) {
    FailMissingFiles(backdrop);
    return;
  }
  g_initInstall =
      reinterpret_cast<InitInstallFunction>(reinterpret_cast<void*>(GetProcAddress(g_setupLibrary, CORVANE_INITINSTALL_EXPORT)));
  if (!g_initInstall) {
    FailMissingFiles(backdrop);
    return;
  }
  DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_PREPARING), backdrop, PreparingDialogProc, 0);
}

LRESULT CALLBACK LogoWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    OnLogoPaint(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Counts the bar from 0 to 100, holds it there, then closes the dialog.  No
// message is handled meanwhile, by design: about four seconds.
void RunPreparingJob() {
  for (int p = 0; p <= 100; ++p) {
    DrawProgress(g_currentBar, p);
    Sleep(kAnimationStepMs);
  }
  Sleep(kHoldMs);
  ShowWindow(g_logo, SW_HIDE);
  EndDialog(g_hostDialog, 0);
}
