// Renames and deletions carried out when Windows next starts, for files that
// a process has open now: through WININIT.INI on Windows 95/98
// (wininit_file.h), through MoveFileExA on the NT family. Shared by
// _SETUP.DLL and the uninstaller. Paths may be long; WININIT.INI gets their
// short forms, so the files must exist.
#pragma once

// Moves source over target at the next start.
bool ReplaceAtRestart(const char* source, const char* target);

// Deletes path at the next start.
bool DeleteAtRestart(const char* path);
