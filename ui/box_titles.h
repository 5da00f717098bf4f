// Titles of the message boxes that more than one window of setup shows.
#pragma once
#include <windows.h>

// A failure that ends setup: files missing, a file that cannot be made,
// a product already installed.
extern const char kSetupErrorTitle[];
// The box that a file which cannot be made shows, under kSetupErrorTitle,
// before setup ends: a product file, the install journal, or a file that an
// earlier run could not put back.
void TellFileCannotBeMade(HWND owner, const char* name);
// A question whose yes ends setup: Cancel on a page, or on the scan.
extern const char kQuitTitle[];
