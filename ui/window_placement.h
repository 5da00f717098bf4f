// Where setup's dialogs stand on the screen, applied to a window as it opens.
#pragma once
#include <windows.h>

// Centres the window on the screen: every wizard page.
void CenterOnScreen(HWND window);
// Centres the window across the screen with its bottom edge on the bottom of
// the logo's band: the preparing dialog and the copy page, which open while
// the logo shows.
void PlaceBelowLogo(HWND window);
