// Which running programs belong to an earlier installation, without Win32.
#pragma once
#include "common/bounded_text.h"

// True when a program's file path (any case) contains the recorded install
// folder (any case) and does not contain "SETUP.EXE".  An empty folder
// matches nothing.
bool IsProductProcess(const Text& programPath, const Text& recordedFolder);
