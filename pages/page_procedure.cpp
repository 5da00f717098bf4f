// The one dialog procedure of every page.
#include "pages/page_procedure.h"

namespace {

// Side pictures are drawn with COLORONCOLOR: where a picture control's edge
// makes Wine stretch the bitmap by two pixels, the default mode leaves stray
// colours in a 256-colour picture.  The message itself goes on to its default
// handling.
void PreparePictureDc(HDC dc) { SetStretchBltMode(dc, COLORONCOLOR); }

}  // namespace

// The handlers are kept with the dialog from WM_INITDIALOG on; the few
// messages before it go to the default handling.
INT_PTR CALLBACK PageProcedure(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrA(page, DWLP_USER, lParam);
  const PageHandlers* handlers = reinterpret_cast<const PageHandlers*>(GetWindowLongPtrA(page, DWLP_USER));
  if (!handlers) return FALSE;
  switch (msg) {
    case WM_CTLCOLORSTATIC:
      if (handlers->picture == SidePicture::Shown) PreparePictureDc(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_INITDIALOG:
      handlers->init(page);
      return FALSE;
    case WM_COMMAND:
      handlers->command(page, LOWORD(wParam));
      return TRUE;
    case WM_TIMER:
      if (!handlers->timer) return FALSE;
      handlers->timer(page);
      return TRUE;
  }
  return FALSE;
}
