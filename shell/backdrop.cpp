// The full-screen backdrop window: its creation, which runs the preparing
// dialog, its painting, its end, and the window classes of the shell.
#include "shell/backdrop.h"

#include "install/run_lock.h"
#include "install/setup_library.h"
#include "pages/wizard.h"
#include "resources/ids.h"
#include "shell/draw_bitmap.h"
#include "shell/logo.h"
#include "shell/preparing_dialog.h"
#include "shell/startup.h"
#include "ui/box_titles.h"
#include "ui/progress_bar.h"

HINSTANCE g_instance;

namespace {

const char kMissingFilesText[] = "설치에 필요한 파일이 존재하지 않습니다.";
const char kBackdropCaption[] = "Corvane™ for Windows 95/98";
constexpr DWORD kBackdropStyle = WS_POPUPWINDOW | WS_CLIPCHILDREN;
constexpr int kStripStep = 38;

ATOM RegisterOne(WNDCLASSEXA* wc, WNDPROC proc, const char* name, COLORREF ground, HICON icon) {
  wc->lpfnWndProc = proc;
  wc->lpszClassName = name;
  wc->hbrBackground = CreateSolidBrush(ground);
  wc->hIcon = icon;
  wc->hIconSm = icon;
  return RegisterClassExA(wc);
}

void FailMissingFiles(HWND backdrop) {
  // No owner: the backdrop's handle is known only when its creation returns.
  MessageBoxA(NULL, kMissingFilesText, kSetupErrorTitle, MB_OK);
  DestroyWindow(backdrop);
}

// Runs inside CreateWindowExA, before the backdrop is shown: the logo, the
// support library, then the preparing dialog.
void OnBackdropCreate(HWND backdrop) {
  CreateLogoWindow(backdrop);
  if (!LoadSetupLibrary()) {
    FailMissingFiles(backdrop);
    return;
  }
  RunPreparingDialog(backdrop);
}

// Paints the gradient strip in one row of tiles along the top, then the
// product title.  Below a 768-pixel strip the black class background shows.
void OnBackdropPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBITMAP strip = LoadBitmapA(g_instance, MAKEINTRESOURCEA(IDB_GRADIENT));
  for (int x = 0; x < GetSystemMetrics(SM_CXSCREEN); x += kStripStep)
    DrawBitmap(dc, strip, x, 0, SRCCOPY);
  DeleteObject(strip);

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HFONT font = CreateFontA(40, 20, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                           FF_SWISS | DEFAULT_PITCH, "Times New Roman");
  SetMapperFlags(dc, 1);  // ASPECT_FILTERING
  HGDIOBJ old = SelectObject(dc, font);
  TextOutA(dc, 5, 15, kBackdropCaption, lstrlenA(kBackdropCaption));
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(hwnd, &ps);
}

// Every way out of setup ends here: release the support library and let the
// nested loops unwind to WinMain's.
void OnBackdropDestroy() {
  EndWizard();
  FreeSetupLibrary();
  PostQuitMessage(0);
}

LRESULT CALLBACK BackdropWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      OnBackdropCreate(hwnd);
      return 0;
    case WM_DESTROY:
      OnBackdropDestroy();
      return 0;
    case WM_PAINT:
      OnBackdropPaint(hwnd);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

ATOM RegisterSetupClasses(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
  HICON productIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PRODUCT));
  (void)RegisterOne(&wc, BackdropWindowProc, kSetupWindowClass, RGB(0, 0, 0), productIcon);
  (void)RegisterOne(&wc, LogoWindowProc, kLogoClass, RGB(255, 255, 255), NULL);
  return RegisterOne(&wc, ProgressBarProc, kProgressBarClass, RGB(255, 255, 255), NULL);
}

BOOL CreateBackdrop(HINSTANCE instance) {
  g_instance = instance;
  // Hidden at first: the creation handler runs the preparing dialog inside
  // this call, and the backdrop appears only after it.
  HWND hwnd = CreateWindowExA(0, kSetupWindowClass, kSetupWindowTitle, kBackdropStyle, 0, 0, 0, 0,
                              NULL, NULL, instance, NULL);
  if (!hwnd) return FALSE;
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN) + 1,
               GetSystemMetrics(SM_CYSCREEN) + 1, SWP_NOMOVE);
  UpdateWindow(hwnd);
  RunWizard(WizardWindows{instance, hwnd, g_logo});
  return TRUE;
}
