// What the test machine keeps in win.ini and the registry.
#include "support/settings.h"

#include <vector>

namespace machine {
namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool SetRegistryValue(HKEY root, const std::string& key, const char* name, DWORD type, const void* data,
                      DWORD size) {
  HKEY handle;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG result = RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::string> Profile(const char* section, const char* key) {
  // A default that no test writes tells an absent key from an empty one.
  static const char kAbsent[] = "\x01(absent)";
  char value[1024];
  GetProfileStringA(section, key, kAbsent, value, sizeof value);
  if (std::string(value) == kAbsent) return std::nullopt;
  return std::string(value);
}

void SetProfile(const char* section, const char* key, const char* value) {
  WriteProfileStringA(section, key, value);
}

bool HasProfileSection(const char* section) {
  char keys[600] = "";
  return GetProfileStringA(section, nullptr, "", keys, sizeof keys) > 0;
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& key, const char* name) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  RegistryValue value;
  DWORD size = 0;
  LONG result = RegQueryValueExA(handle, name, nullptr, &value.type, nullptr, &size);
  std::vector<char> data(size + 1);
  if (result == ERROR_SUCCESS) {
    result = RegQueryValueExA(handle, name, nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()), &size);
  }
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) return std::nullopt;
  value.bytes.assign(data.data(), size);
  return value;
}

std::optional<std::string> RegistryString(HKEY root, const std::string& key, const char* name) {
  std::optional<RegistryValue> value = ReadRegistryValue(root, key, name);
  if (!value) return std::nullopt;
  return value->bytes.substr(0, value->bytes.find('\0'));
}

std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key, const char* name) {
  std::optional<RegistryValue> value = ReadRegistryValue(root, key, name);
  if (!value || value->bytes.size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  value->bytes.copy(reinterpret_cast<char*>(&number), sizeof number);
  return number;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

bool SetRegistryString(HKEY root, const std::string& key, const char* name, const std::string& value) {
  return SetRegistryValue(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool SetRegistryNumber(HKEY root, const std::string& key, const char* name, DWORD value) {
  return SetRegistryValue(root, key, name, REG_DWORD, &value, sizeof value);
}

std::optional<std::string> ShellFolder(const char* name) {
  return RegistryString(HKEY_CURRENT_USER, kShellFolders, name);
}

bool SetShellFolder(const char* name, const std::string& folder) {
  return SetRegistryString(HKEY_CURRENT_USER, kShellFolders, name, folder);
}

}  // namespace machine
