// What the product's programs know of their installation.
#include "install/install_records.h"
#include "product/common/records.h"

#include <windows.h>

#include "product/logic/product_paths.h"

Text ProfileValue(const char* key) {
  char value[kPathBufferSize] = "";
  GetProfileStringA(kRecordSection, key, "", value, sizeof value);
  return value;
}

Text OwnProgramPath() {
  char path[kPathBufferSize];
  DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
  path[length < sizeof path ? length : sizeof path - 1] = '\0';
  return path;
}

Text OwnFolder() { return FolderOf(OwnProgramPath()); }

Text ProductFolder() {
  Text recorded = ProfileValue(kInstallRecord);
  return recorded.empty() ? OwnFolder() : recorded;
}

Text ShortPathOf(const Text& path) {
  char shortPath[kPathBufferSize] = "";
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? shortPath : "";
}

Text WindowsFolder() {
  char folder[kPathBufferSize] = "";
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return "";
  Text windows = folder;
  if (windows.size() > 3 && windows.back() == '\\') windows.pop_back();
  return windows;
}

bool FileExists(const Text& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const Text& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
