// The file being installed: unpacked into a temporary file beside it, then
// moved over the old one, or, while the old one is in use, when Windows next
// starts.
#pragma once

#include <windows.h>

// False for a target that must be left alone: a folder, or a read-only file.
bool target_may_be_replaced(const char* target);

// Makes a new, empty temporary file in folder, opened for writing; its path
// goes to temp (MAX_PATH bytes). INVALID_HANDLE_VALUE when the folder does
// not exist or cannot be written.
HANDLE create_temp_file(const char* folder, char* temp);

// Puts the finished temporary file in the place of target. A target in use
// is replaced when Windows next starts (WININIT.INI on Windows 95/98,
// MoveFileExA on NT); that counts as done. On failure the temporary file is
// deleted and the old target stays as it was.
bool put_in_place(const char* temp, const char* target);
