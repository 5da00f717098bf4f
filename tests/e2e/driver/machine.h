// The state of the test machine that setup reads and changes: files and
// folders, win.ini, the registry, the environment.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace machine {

bool Exists(const std::string& path);  // file or folder
bool IsFolder(const std::string& path);
std::optional<std::string> ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
// What a file is, as a check of "left exactly as it was" compares it:
// contents, attributes and last write time.
struct FileState {
  bool exists = false;
  std::string bytes;
  DWORD attributes = 0;
  FILETIME written{};
  bool operator==(const FileState& other) const;
};
FileState StateOf(const std::string& path);
// Plants a file with the given attributes and a last write time in 2001, so
// that a restored file is told apart from a new copy.
bool PlantOldFile(const std::string& path, const std::string& bytes, DWORD attributes);
// Creates the folder and every missing folder above it.
bool MakeFolders(const std::string& path);
// The lines of a text file, without their CR LF; empty when the file is absent.
std::vector<std::string> Lines(const std::string& path);
// Splits a line at tabs or at blanks.
std::vector<std::string> Split(const std::string& line, char separator);

// win.ini, section `section`; nullopt when the key is absent.
std::optional<std::string> Profile(const char* section, const char* key);
void SetProfile(const char* section, const char* key, const char* value);  // null removes

std::optional<std::string> RegistryString(HKEY root, const std::string& key, const char* name);
bool RegistryKeyExists(HKEY root, const std::string& key);
void SetRegistryString(HKEY root, const std::string& key, const char* name, const std::string& value);

std::string Environment(const char* name);
std::string WindowsFolder();
std::string SystemFolder();
std::string Join(const std::string& folder, const std::string& name);
// Files directly in a folder, as a directory listing gives them.
std::vector<std::string> FilesIn(const std::string& folder);

}  // namespace machine
