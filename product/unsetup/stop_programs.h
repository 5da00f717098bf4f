// Ends the product's programs that still run from the install folder, so that
// their files can be deleted.
#pragma once
#include <string>

// Ends every running program whose file lies inside `folder`, by setup's own
// rule (any letter case; programs whose path holds SETUP.EXE are spared, and
// so is this process), and waits for each to end.
void StopProgramsIn(const std::string& folder);
