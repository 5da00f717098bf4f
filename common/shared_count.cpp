// The SharedDLLs count of a file.
#include "common/shared_count.h"

#include <windows.h>

#include "common/disk_ops.h"

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

bool WriteSharedCount(const Text& path, unsigned long count) {
  HKEY key;
  if (ops::CreateKey(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  LONG result = count == 0 ? ops::DeleteValue(key, path.c_str()) : ops::SetNumber(key, path.c_str(), count);
  RegCloseKey(key);
  return result == ERROR_SUCCESS || (count == 0 && result == ERROR_FILE_NOT_FOUND);
}
