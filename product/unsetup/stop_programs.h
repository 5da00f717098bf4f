// Ends the product's programs that still run from the install folder, so that
// their files can be deleted.
#pragma once
#include "common/text.h"

// Ends every running program whose file lies inside `folder`, by setup's own
// rule (any letter case; programs whose path holds SETUP.EXE are spared, and
// so is this process), and waits for each to end.  The folder and each
// program's path are compared as the file system sees them, in long and 8.3
// form; a folder that the folder guard refuses ends nothing.
void StopProgramsIn(const Text& folder);
