// SETUP.INI, read value by value.
#include "install/manifest.h"

#include <windows.h>

#include "install/manifest_entry.h"

namespace {
const char kManifestPath[] = ".\\SETUP.INI";
}

Text ReadManifestString(const char* section, int n) {
  char value[kManifestValueSize];
  GetPrivateProfileStringA(section, ManifestKey(n).c_str(), kAbsentValue, value, sizeof value,
                           kManifestPath);
  return value;
}

int ReadManifestPoints(int n) {
  return static_cast<int>(
      GetPrivateProfileIntA("SetupPersent", ManifestKey(n).c_str(), 0, kManifestPath));
}
