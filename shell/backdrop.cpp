// The full-screen backdrop window, the window classes of the shell, and the
// bitmap drawing that the backdrop and the logo share.
#include <windows.h>

#include "pages/page_common.h"
#include "resources/ids.h"
#include "ui/progress_bar.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

HINSTANCE g_instance;
HWND g_backdrop;
HWND g_logo;
char g_installFolder[kPathBufferSize];
HMODULE g_setupLibrary;
InitInstallFunction g_initInstall;
bool g_setupEnding;
const char kDefaultInstallFolder[] = "C:\\Program Files\\Corvane";

namespace {

const char kLogoClass[] = "CvLogo";
const char kBarClass[] = "CvProBar";
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
  g_setupEnding = true;
  if (g_setupLibrary) {
    FreeLibrary(g_setupLibrary);
    g_setupLibrary = NULL;
    g_initInstall = NULL;
  }
  PostQuitMessage(0);
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
  return RegisterOne(&wc, ProgressBarProc, kBarClass, RGB(255, 255, 255), NULL);
}

BOOL CreateBackdrop(HINSTANCE instance) {
  g_instance = instance;
  // Hidden at first: the creation handler runs the preparing dialog inside
  // this call, and the backdrop appears only after it.
  HWND hwnd = CreateWindowExA(0, kSetupWindowClass, kSetupWindowTitle, kBackdropStyle, 0, 0, 0, 0,
                              NULL, NULL, instance, NULL);
  g_backdrop = hwnd;
  if (!hwnd) return FALSE;
  ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN) + 1,
               GetSystemMetrics(SM_CYSCREEN) + 1, SWP_NOMOVE);
  UpdateWindow(hwnd);
  OpenPage(IDD_WELCOME);
  return TRUE;
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

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, DWORD rop) {
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap);
  SetMapMode(mem, GetMapMode(dc));
  BITMAP bm;
  GetObjectA(bitmap, sizeof bm, &bm);
  POINT size = {bm.bmWidth, bm.bmHeight};
  DPtoLP(dc, &size, 1);
  POINT origin = {0, 0};
  DPtoLP(mem, &origin, 1);
  BitBlt(dc, x, y, size.x, size.y, mem, origin.x, origin.y, rop);
  SelectObject(mem, old);
  DeleteDC(mem);
}

bool DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit message belongs to WinMain's loop: put it back and stop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return !g_setupEnding;
}
