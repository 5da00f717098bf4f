// The logo window.
#include "shell/logo.h"

#include "resources/ids.h"
#include "shell/backdrop.h"
#include "shell/draw_bitmap.h"
#include "ui/placement.h"

const char kLogoClass[] = "CvLogo";
HWND g_logo;

namespace {

void OnLogoPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBITMAP picture = LoadBitmapA(g_instance, MAKEINTRESOURCEA(IDB_LOGO));
  DrawBitmap(dc, picture, 0, 0, SRCCOPY);
  DeleteObject(picture);
  EndPaint(hwnd, &ps);
}

}  // namespace

// The logo must be on screen while the backdrop, its owner, is still hidden:
// that takes a top-level window owned by the backdrop.  A child window would
// stay hidden with its parent, and a non-child window takes its identifier
// argument for a menu handle, so none is passed.
void CreateLogoWindow(HWND backdrop) {
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  g_logo = CreateWindowExA(0, kLogoClass, NULL, WS_POPUP | WS_CHILD | WS_VISIBLE,
                           CenteredOrigin(cx, kLogoWidth), LogoTop(cy), kLogoWidth, kLogoHeight,
                           backdrop, NULL, g_instance, NULL);
}

LRESULT CALLBACK LogoWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    OnLogoPaint(hwnd);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
