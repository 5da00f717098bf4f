// The user's name and company: offered from the registry, recorded in win.ini.
#include "install/user_records.h"

#include <windows.h>

#include "common/path_text.h"
#include "install/install_records.h"
#include "install/user_temp_file.h"

namespace {

const char kUserInfoKey[] = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
constexpr int kPrefillBufferSize = 256;
constexpr DWORD kRegistryReadSize = 128;

// Reads one value of at most 128 bytes; a missing or longer value leaves the
// buffer empty.
void ReadPrefill(HKEY key, const char* name, char* buffer) {
  DWORD size = kRegistryReadSize;
  if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE*>(buffer), &size) !=
      ERROR_SUCCESS)
    buffer[0] = '\0';
  buffer[kRegistryReadSize - 1 < size ? kRegistryReadSize - 1 : size] = '\0';
}

void DeleteTempFile() {
  char temp[kPathBufferSize];
  DWORD n = GetEnvironmentVariableA("TEMP", temp, sizeof temp);
  if (n == 0 || n >= sizeof temp) return;
  char path[kPathBufferSize];
  // The file is usually absent; the result does not matter.
  if (BuildTempFilePath(temp, path, sizeof path)) (void)DeleteFileA(path);
}

}  // namespace

void ReadOfferedUser(Text* name, Text* company) {
  char nameValue[kPrefillBufferSize] = "";
  char companyValue[kPrefillBufferSize] = "";
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUserInfoKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    ReadPrefill(key, "DefCompany", companyValue);
    ReadPrefill(key, "DefName", nameValue);
    RegCloseKey(key);
  }
  *name = nameValue;
  *company = companyValue;
}

void RecordUser(const Text& name, const Text& company) {
  DeleteTempFile();
  (void)WriteProfileStringA(kRecordSection, kNameRecord, name.c_str());
  (void)WriteProfileStringA(kRecordSection, kCompanyRecord, company.c_str());
}
