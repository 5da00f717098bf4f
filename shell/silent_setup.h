// SETUP.EXE /S: the wizard's steps with the answers from the command line,
// without a window, a question or a wait, ending in a result code that
// deployment tools understand.
#pragma once
#include <windows.h>

#include "install/result_codes.h"
#include "shell/switches.h"

int RunSilentSetup(HINSTANCE instance, const SetupSwitches& switches);
