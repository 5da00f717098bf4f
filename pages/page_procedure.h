// The one dialog procedure of every page, driven by the page's own handlers.
#pragma once
#include <windows.h>

// Whether a page shows a side picture, which needs its DC prepared.
enum class SidePicture { Shown, None };

struct PageHandlers {
  SidePicture picture;
  // WM_INITDIALOG.  The procedure returns FALSE: the page sets the focus.
  void (*init)(HWND page);
  // WM_COMMAND, with the control or button id.  The procedure returns TRUE.
  void (*command)(HWND page, int command);
  // WM_TIMER, for a page that starts a timer; the procedure returns TRUE.
  // NULL: the message goes on to its default handling.
  void (*timer)(HWND page);
};

// The page's handlers arrive as the dialog's creation parameter.
INT_PTR CALLBACK PageProcedure(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
