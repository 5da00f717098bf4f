// SETUP.EXE /S: the wizard's steps with the answers from the command line,
// without a window, a question or a wait, ending in a result code that
// deployment tools understand.
#pragma once
#include <windows.h>

#include "shell/switches.h"

// Result codes, as Windows Installer gives them.
constexpr int kExitInstalled = 0;
constexpr int kExitRestartNeeded = 3010;
constexpr int kExitFailed = 1603;
constexpr int kExitAnotherSetup = 1618;
constexpr int kExitAlreadyInstalled = 1638;
constexpr int kExitBadCommandLine = 1639;

int RunSilentSetup(HINSTANCE instance, const SetupSwitches& switches);
