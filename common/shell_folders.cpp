// The shell's folders as the registry records them.
#include "common/shell_folders.h"

#include <windows.h>

#include "common/path_text.h"

bool ReadShellProgramsFolder(size_t size, Text* programs) {
  if (size > kPathBufferSize) size = kPathBufferSize;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  char value[kPathBufferSize + 1] = "";
  DWORD got = static_cast<DWORD>(size);
  LONG result = RegQueryValueExA(key, "Programs", NULL, NULL, reinterpret_cast<BYTE*>(value), &got);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return false;
  value[got < size ? got : size] = '\0';
  *programs = value;
  return true;
}

Text ShellProgramsFolder() {
  Text programs;
  return ReadShellProgramsFolder(kPathBufferSize, &programs) ? programs : Text();
}
