// The count of a shared file's users under SharedDLLs, which setup raises
// for every file it puts into the system folder and the uninstaller lowers.
#pragma once
#include "common/text.h"

// Where Windows installers count the users of a shared file: one REG_DWORD
// under HKEY_LOCAL_MACHINE per file, named by its full path.
constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// False when the file has no count.
bool ReadSharedCount(const Text& path, unsigned long* count);
// Writes the count; 0 removes the value, as the file then has no user.
// False when the count could not be written.
bool WriteSharedCount(const Text& path, unsigned long count);
