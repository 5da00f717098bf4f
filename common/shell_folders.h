// Where Windows keeps the shell's folders (Programs, Start Menu, Startup,
// Desktop, ...) of the current user, under HKEY_CURRENT_USER, and of all
// users, under HKEY_LOCAL_MACHINE.
#pragma once
#include "common/text.h"

inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The current user's Start-menu Programs folder as the shell records it, read
// as a buffer of `size` bytes (at most kPathBufferSize) takes it: false when
// it cannot be read or does not fit with its terminator.
bool ReadShellProgramsFolder(size_t size, Text* programs);

// The same read into a full path buffer; "" when it cannot be read.
Text ShellProgramsFolder();
