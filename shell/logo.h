// The logo window (class "CvLogo"): the product's picture, shown above the
// preparing dialog and again above the copy page.
#pragma once
#include <windows.h>

extern const char kLogoClass[];

// Written by CreateLogoWindow in the backdrop's creation; read by the
// preparing job, which hides it, and lent to the wizard, which shows it for
// the copy page.
extern HWND g_logo;

// Creates the logo, owned by the backdrop, and records it in g_logo.
void CreateLogoWindow(HWND backdrop);
LRESULT CALLBACK LogoWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
