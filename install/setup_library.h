// _SETUP.DLL, the installer support library whose InitInstall makes every
// file of the install job.  Loaded by the shell once (the backdrop's
// creation, or a silent install before its job) and released when setup
// ends; read by whoever runs the install job (the copy page, a silent
// install).
#pragma once
#include "setupdll/initinstall.h"

// Loads .\_SETUP.DLL and looks up InitInstall; false when either is missing
// (the library, if loaded, stays loaded until FreeSetupLibrary).
bool LoadSetupLibrary();
// Releases the library, if loaded; InitInstall is gone with it.
void FreeSetupLibrary();
// The library's InitInstall, or NULL while none is loaded.
InitInstallFunction SetupLibraryInitInstall();
