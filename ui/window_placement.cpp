// Where setup's dialogs stand on the screen.
#include "ui/window_placement.h"

#include "ui/placement.h"

namespace {

// Keeps the window's size and moves it to the origin that `top` gives for
// its height, centred across the screen.
void MoveKeepingSize(HWND window, int (*top)(int screenHeight, int height)) {
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  MoveWindow(window, CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), w), top(GetSystemMetrics(SM_CYSCREEN), h),
             w, h, TRUE);
}

}  // namespace

void CenterOnScreen(HWND window) { MoveKeepingSize(window, CenteredOrigin); }

void PlaceBelowLogo(HWND window) { MoveKeepingSize(window, BelowLogoTop); }
