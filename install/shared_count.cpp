// The SharedDLLs count of a file.
#include "install/shared_count.h"

#include <windows.h>

#include "install/journal_format.h"

bool ReadSharedCount(const Text& path, unsigned long* count) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD value = 0, size = sizeof value, type = 0;
  bool found = RegQueryValueExA(key, path.c_str(), NULL, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                   ERROR_SUCCESS &&
               type == REG_DWORD && size == sizeof value;
  RegCloseKey(key);
  if (found) *count = value;
  return found;
}

void WriteSharedCount(const Text& path, unsigned long count) {
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, NULL, &key, &disposition) != ERROR_SUCCESS)
    return;
  DWORD value = count;
  if (count == 0)
    (void)RegDeleteValueA(key, path.c_str());
  else
    (void)RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}
