// The scan of the key folders (C:\, the Windows directory and its Command
// folder) with per-file treatment, run by the scan page's first timer tick.
#pragma once
#include <windows.h>

// Runs the whole scan on the scan page and leaves the page in its completed
// state, or returns early when setup is ending.
void RunFolderScan(HWND page);
