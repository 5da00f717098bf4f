// What the test machine keeps in win.ini and the registry: reading and
// writing values, and the shell's folders.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace machine {

// win.ini: a key of a section; none when the key is absent.
std::optional<std::string> Profile(const char* section, const char* key);
// A null value removes the key, a null key the whole section.
void SetProfile(const char* section, const char* key, const char* value);
bool HasProfileSection(const char* section);

// A value as stored: its type and all its bytes.
struct RegistryValue {
  DWORD type = 0;
  std::string bytes;
};
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& key, const char* name);
// A value's text up to its first zero byte; none when key or value is absent.
std::optional<std::string> RegistryString(HKEY root, const std::string& key, const char* name);
std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key, const char* name);
bool RegistryKeyExists(HKEY root, const std::string& key);
// Writes a REG_SZ or REG_DWORD value, making the key when it is missing.
bool SetRegistryString(HKEY root, const std::string& key, const char* name, const std::string& value);
bool SetRegistryNumber(HKEY root, const std::string& key, const char* name, DWORD value);

// The shell's folders as Shell Folders of HKEY_CURRENT_USER names them
// ("Programs", "Startup", "Desktop", ...); none when unnamed.
std::optional<std::string> ShellFolder(const char* name);
bool SetShellFolder(const char* name, const std::string& folder);

}  // namespace machine
