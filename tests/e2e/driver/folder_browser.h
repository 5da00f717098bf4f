// The shell's folder browser that Browse on the install-folder page opens:
// finding it, choosing a folder in it, closing it, and the page's folder
// display once setup has taken the choice.
#pragma once

#include <windows.h>

#include <string>

#include "wizard.h"

namespace folder_browser {

// Presses Browse on the install-folder page and waits for the browser: a
// visible window of setup's process, other than the page, with a tree of
// folders.  Ends the scenario when none comes.
HWND Open(Wizard& wizard);

// Selects `path` with BFFM_SETSELECTIONA, as the browser's owner program
// would; the path is handed over in setup's own memory.
void Select(HWND browser, const std::string& path);
// Selects the first entry below the tree's root (My Computer): drive C:.
void SelectFirstDrive(HWND browser);

// Presses OK or Cancel and waits until the browser is gone.
void Close(HWND browser, int button);

// Expects the install-folder display to show `display` once setup has
// handled the browser's answer.  Setup sets the display after the browser
// has closed, so the text is awaited, not read at once.
void ExpectDisplay(Wizard& wizard, const std::string& display, const char* what);

}  // namespace folder_browser
