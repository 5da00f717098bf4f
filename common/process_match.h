// Which running programs belong to an earlier installation, without Win32.
#pragma once
#include "common/bounded_text.h"

// True when a program's file lies in `folder` or anywhere below it, compared
// at component boundaries in any ASCII letter case (Korean characters byte
// for byte), and its path does not contain "SETUP.EXE" in any case: setup
// programs, the uninstaller UNSETUP.EXE among them, are spared.  An empty
// folder matches nothing.
bool IsProductProcess(const Text& programPath, const Text& folder);
