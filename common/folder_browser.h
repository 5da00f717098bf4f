// The shell's folder browser, as setup's install-folder page and the
// product's folder scan open it.
#pragma once
#include <windows.h>

#include "common/text.h"

// Lets the user pick a folder on disk.  `root` is a CSIDL_* folder to root the
// tree at (-1 for the desktop), `start` a folder selected when the browser
// opens ("" for none).  False when the user cancels or picks something that is
// not a folder on disk.
bool BrowseForFolder(HWND owner, const char* title, int root, const Text& start, Text* chosen);
