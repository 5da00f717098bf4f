// The start-up steps that the wizard and a silent install share.
#pragma once
#include <windows.h>

#include "shell/startup_path.h"

// Makes the folder the program was started from the current directory, so
// that every relative path of setup (SETUP.INI, _SETUP.DLL, ...) resolves
// there.  `buffer` holds kStartupBufferSize bytes.
void EnterSetupFolder(char* buffer);
// Starts .\MemChk.exe hidden and does not wait for it.
void StartMemoryCheck();
// True when the product's main program exists in the folder that win.ini
// records (or in the default folder).
bool ProductAlreadyInstalled(char* buffer);
