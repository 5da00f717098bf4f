// A virus scan of the files directly in one folder through Corvane.dll, shown
// in the product window: each finding is offered for treatment (Yes treats
// it) and listed with what became of it.
#pragma once
#include <windows.h>

#include "common/text.h"

// Scans `folder` through setup's scan loop and leaves the result on the
// window's status line.  Says so in a message box when Corvane.dll cannot be
// loaded or lacks any of its exports.
void RunScanInWindow(HWND window, const Text& folder);
