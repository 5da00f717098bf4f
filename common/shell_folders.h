// Where Windows keeps the shell's folders (Programs, Start Menu, Startup,
// Desktop, ...) of the current user, under HKEY_CURRENT_USER, and of all
// users, under HKEY_LOCAL_MACHINE.
#pragma once
#include "common/text.h"

inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The current user's Start-menu Programs folder as the shell records it;
// "" when it cannot be read.
Text ShellProgramsFolder();
