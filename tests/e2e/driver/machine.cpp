// The state of the test machine that setup reads and changes.
#include "machine.h"

namespace machine {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

bool FileState::operator==(const FileState& other) const {
  return exists == other.exists && bytes == other.bytes && attributes == other.attributes &&
         CompareFileTime(&written, &other.written) == 0;
}

FileState StateOf(const std::string& path) {
  FileState state;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(path.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return state;
  FindClose(search);
  state.exists = true;
  state.bytes = ReadFile(path).value_or("(unreadable)");
  state.attributes = entry.dwFileAttributes;
  state.written = entry.ftLastWriteTime;
  return state;
}

bool PlantOldFile(const std::string& path, const std::string& bytes, DWORD attributes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!WriteFile(path, bytes)) return false;
  SYSTEMTIME old{2001, 3, 0, 14, 9, 30, 0, 0};
  FILETIME time;
  SystemTimeToFileTime(&old, &time);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool stamped = SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
  return stamped && SetFileAttributesA(path.c_str(), attributes);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

bool MakeFolders(const std::string& path) {
  if (IsFolder(path)) return true;
  size_t cut = path.find_last_of('\\');
  if (cut != std::string::npos && cut > 2) MakeFolders(path.substr(0, cut));
  return CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path);
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::optional<std::string> bytes = ReadFile(path);
  if (!bytes) return lines;
  size_t start = 0;
  while (start < bytes->size()) {
    size_t end = bytes->find("\r\n", start);
    if (end == std::string::npos) end = bytes->size();
    lines.push_back(bytes->substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = line.find(separator, start);
    parts.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

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

std::optional<std::string> RegistryString(HKEY root, const std::string& key, const char* name) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  LONG result = RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) return std::nullopt;
  return std::string(data);
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void SetRegistryString(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY handle;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
}

std::string Environment(const char* name) {
  char value[1024];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  if (n == 0 || n >= sizeof value) return "";
  return value;
}

std::string WindowsFolder() {
  char folder[MAX_PATH];
  GetWindowsDirectoryA(folder, sizeof folder);
  return folder;
}

std::string SystemFolder() {
  char folder[MAX_PATH];
  GetSystemDirectoryA(folder, sizeof folder);
  return folder;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(Join(folder, "*.*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(Join(folder, entry.cFileName));
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return files;
}

}  // namespace machine
