// Files and folders of the test machine.
#include "support/files.h"

#include <algorithm>

#include "support/processes.h"
#include "support/text.h"
#include "support/ui.h"

namespace machine {
namespace {

struct Entry {
  std::string name;
  bool folder;
};

// A folder's entries matching `pattern`, "." and ".." left out, in the order
// the folder lists them.
std::vector<Entry> Entries(const std::string& folder, const char* pattern) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Join(folder, pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = found.cFileName;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (name != "." && name != "..") entries.push_back({name, isFolder});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

std::string WithoutTrailingBackslash(const std::string& path) {
  if (path.size() > 3 && path.back() == '\\') return path.substr(0, path.size() - 1);
  return path;
}

bool IsJunction(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wine's handle of a Unix program may be signalled before the program has
// done its work, so callers look for the result.
void RunUnix(const std::string& command, const std::string& folder) {
  Launch launch;
  launch.commandLine = command;
  launch.folder = folder;
  (void)RunToEnd(launch, 10000);
}

}  // namespace

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
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
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

std::vector<std::string> Lines(const std::string& path) { return text::Lines(ReadFile(path).value_or("")); }

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

bool MakeFolders(const std::string& path) {
  if (IsFolder(path)) return true;
  size_t cut = path.find_last_of('\\');
  if (cut != std::string::npos && cut > 2) MakeFolders(path.substr(0, cut));
  return CreateDirectoryA(path.c_str(), nullptr) || IsFolder(path);
}

void DeleteTree(const std::string& pathAsGiven) {
  const std::string path = WithoutTrailingBackslash(pathAsGiven);
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    RemoveDirectoryA(path.c_str());
    return;
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  for (const Entry& entry : Entries(path, "*.*")) DeleteTree(Join(path, entry.name));
  RemoveDirectoryA(path.c_str());
}

std::vector<std::string> Names(const std::string& folder, const char* pattern, bool folders) {
  std::vector<std::string> names;
  for (const Entry& entry : Entries(folder, pattern)) {
    if (!entry.folder) {
      names.push_back(entry.name);
    } else if (folders) {
      names.push_back(entry.name + "\\");
    }
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return text::Lower(a) < text::Lower(b); });
  return names;
}

void WalkTree(const std::string& folder, const std::function<void(const std::string&, bool)>& visit) {
  for (const std::string& name : Names(folder, "*.*", true)) {
    const bool isFolder = !name.empty() && name.back() == '\\';
    const std::string path = Join(folder, isFolder ? name.substr(0, name.size() - 1) : name);
    visit(path, isFolder);
    if (isFolder) WalkTree(path, visit);
  }
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const std::string& name : Names(folder)) files.push_back(Join(folder, name));
  return files;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string WindowsFolder() {
  char folder[MAX_PATH] = "";
  GetWindowsDirectoryA(folder, sizeof folder);
  return folder;
}

std::string SystemFolder() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  return folder;
}

std::string TempFolder() {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  return folder;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return FolderOf(path);
}

std::string ShortPath(const std::string& path) {
  char shortPath[MAX_PATH] = "";
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? shortPath : "";
}

std::string Environment(const char* name) {
  char value[1024];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  if (n == 0 || n >= sizeof value) return "";
  return value;
}

std::string WinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::optional<IMAGE_NT_HEADERS32> ImageHeaders(const std::string& path) {
  std::optional<std::string> image = ReadFile(path);
  if (!image || image->size() < sizeof(IMAGE_DOS_HEADER)) return std::nullopt;
  IMAGE_DOS_HEADER dos;
  image->copy(reinterpret_cast<char*>(&dos), sizeof dos);
  IMAGE_NT_HEADERS32 nt;
  if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
      static_cast<size_t>(dos.e_lfanew) + sizeof nt > image->size()) {
    return std::nullopt;
  }
  image->copy(reinterpret_cast<char*>(&nt), sizeof nt, dos.e_lfanew);
  if (nt.Signature != IMAGE_NT_SIGNATURE) return std::nullopt;
  return nt;
}

bool MakeJunction(const std::string& folder, const std::string& name, const std::string& target) {
  std::string path = Join(folder, name);
  RunUnix("/bin/ln -s " + target + " " + name, folder);
  return ui::WaitUntil([&] { return IsJunction(path); }, 10000, 20);
}

void RemoveJunction(const std::string& folder, const std::string& name) {
  std::string path = Join(folder, name);
  if (!IsJunction(path)) return;
  RunUnix("/bin/rm -f " + name, folder);
  (void)ui::WaitUntil([&] { return !IsJunction(path); }, 10000, 20);
}

}  // namespace machine
