// SETUP.INI, read value by value.
#include "install/manifest.h"

#include <windows.h>

#include "install/manifest_entry.h"
#include "install/medium_files.h"

Text ReadManifestString(const char* section, int n) {
  char value[kManifestValueSize];
  GetPrivateProfileStringA(section, ManifestKey(n).c_str(), kAbsentValue, value, sizeof value,
                           MediumPath(kManifestFile).c_str());
  return value;
}

int ReadManifestPoints(int n) {
  return static_cast<int>(
      GetPrivateProfileIntA("SetupPersent", ManifestKey(n).c_str(), 0, MediumPath(kManifestFile).c_str()));
}
