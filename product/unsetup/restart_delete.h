// Deleting a file at the next start of Windows, for files that cannot go now
// (the uninstaller's own copy, a file still in use).
#pragma once
#include <string>

// Windows 95/98: a NUL line in WININIT.INI; the NT family: MoveFileExA.
// False when neither could be arranged.
bool DeleteAtRestart(const std::string& path);
