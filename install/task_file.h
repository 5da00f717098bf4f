// Setup.run, the file in the install folder that carries the follow-up task
// byte from setup to _ISDEL.EXE, without Win32.
#pragma once
#include "common/text.h"

inline constexpr char kTaskFileName[] = "Setup.run";

// Path of the hand-off file: "<install folder>\Setup.run".
Text SetupRunPath(const Text& installFolder);
