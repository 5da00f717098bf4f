// The shell's folders as the registry records them.
#include "common/shell_folders.h"

#include <windows.h>

namespace {

constexpr DWORD kFolderReadSize = 600;

}  // namespace

Text ShellProgramsFolder() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char value[kFolderReadSize] = "";
  DWORD size = sizeof value - 1;
  LONG result = RegQueryValueExA(key, "Programs", NULL, NULL, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? value : "";
}
