// The folder guard on this PC: paths as the file system sees them, and the
// folders that Windows and the user keep.
#include "common/folder_guard.h"

#include <windows.h>

#include "common/path_text.h"

namespace {

constexpr DWORD kPathBufferSize = 600;
const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kDefaultProgramFiles[] = "C:\\Program Files";

// Without this, a look at an empty floppy or CD drive makes Windows 95 ask
// the user for a disk.
class QuietDriveErrors {
 public:
  QuietDriveErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~QuietDriveErrors() { (void)SetErrorMode(previous_); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  UINT previous_;
};

std::string JoinName(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string FullPathOf(const std::string& path) {
  char full[kPathBufferSize];
  char* name = NULL;
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
  return length > 0 && length < sizeof full ? CanonicalPathText(full) : path;
}

// FindFirstFileA gives each component's long name as the disk holds it.
// From the first component that is not there, the rest stays as written.
std::string LongFormOf(const std::string& full, bool* throughLink) {
  std::size_t at = CanonicalRootLength(full);
  std::string built = full.substr(0, at);
  bool onDisk = IsAbsolutePath(full);
  while (at < full.size()) {
    if (full[at] == '\\') ++at;
    std::size_t end = full.find('\\', at);
    if (end == std::string::npos) end = full.size();
    std::string name = full.substr(at, end - at);
    at = end;
    // A wildcard would find some other name.
    onDisk = onDisk && name.find_first_of("*?") == std::string::npos;
    if (onDisk) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA(JoinName(built, name).c_str(), &found);
      onDisk = search != INVALID_HANDLE_VALUE;
      if (onDisk) {
        FindClose(search);
        name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) *throughLink = true;
      }
    }
    built = JoinName(built, name);
  }
  return built;
}

std::string ShortFormOf(const std::string& path) {
  char shortPath[kPathBufferSize] = "";
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? CanonicalPathText(shortPath) : "";
}

std::string RegistryText(HKEY root, const char* keyName, const char* valueName) {
  HKEY key;
  if (RegOpenKeyExA(root, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char value[kPathBufferSize] = "";
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  LONG result = RegQueryValueExA(key, valueName, NULL, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_SZ ? value : "";
}

// Every folder the shell names, whatever the Windows version calls it.
void AddShellFolders(HKEY root, std::vector<std::string>* folders) {
  HKEY key;
  if (RegOpenKeyExA(root, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  for (DWORD index = 0;; ++index) {
    char name[kPathBufferSize];
    char value[kPathBufferSize] = "";
    DWORD nameSize = sizeof name;
    DWORD valueSize = sizeof value - 1;
    DWORD type = 0;
    LONG result = RegEnumValueA(key, index, name, &nameSize, NULL, &type, reinterpret_cast<BYTE*>(value), &valueSize);
    // A value too long for the buffer is no folder; the next one may be.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;
    if (type == REG_SZ) folders->push_back(value);
  }
  RegCloseKey(key);
}

std::string EnvironmentText(const char* name) {
  char value[kPathBufferSize] = "";
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? value : "";
}

std::string WindowsFolder() {
  char folder[kPathBufferSize] = "";
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  return length > 0 && length < sizeof folder ? folder : "";
}

std::string SystemFolder() {
  char folder[kPathBufferSize] = "";
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  return length > 0 && length < sizeof folder ? folder : "";
}

}  // namespace

PathForms SystemPathForms(const std::string& path) {
  QuietDriveErrors quiet;
  PathForms forms = {"", "", false};
  forms.longForm = LongFormOf(FullPathOf(CanonicalPathText(path)), &forms.throughLink);
  if (IsAbsolutePath(forms.longForm)) forms.shortForm = ShortFormOf(forms.longForm);
  return forms;
}

std::vector<std::string> ProtectedFolders() {
  std::vector<std::string> protectedFolders;
  // Drive roots by their text alone: a look at each would wake every drive.
  DWORD drives = GetLogicalDrives();
  for (int drive = 0; drive < 26; ++drive)
    if (drives & (1UL << drive)) protectedFolders.push_back(std::string(1, static_cast<char>('A' + drive)) + ":\\");

  std::string windows = WindowsFolder();
  std::string programFiles = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
  std::vector<std::string> named = {
      windows,
      SystemFolder(),
      windows.empty() ? "" : JoinName(windows, "COMMAND"),
      windows.empty() ? "" : JoinName(windows, "Profiles"),
      programFiles.empty() ? kDefaultProgramFiles : programFiles,
      RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CommonFilesDir"),
      EnvironmentText("TEMP"),
      EnvironmentText("TMP"),
  };
  AddShellFolders(HKEY_CURRENT_USER, &named);
  AddShellFolders(HKEY_LOCAL_MACHINE, &named);
  for (const std::string& folder : named) {
    // Made full, a relative value would protect whatever folder is current.
    if (!IsAbsolutePath(CanonicalPathText(folder))) continue;
    PathForms forms = SystemPathForms(folder);
    protectedFolders.push_back(forms.longForm);
    if (!forms.shortForm.empty()) protectedFolders.push_back(forms.shortForm);
  }
  return protectedFolders;
}

bool MayRemoveOrStopIn(const std::string& recordedFolder, std::string* canonical, FolderRefusal* why) {
  std::string folder = CanonicalPathText(recordedFolder);
  // The text alone first: a relative record is refused before the system
  // could make it full against whatever folder happens to be current.
  FolderRefusal verdict = JudgeFolder(folder, {});
  if (verdict == FolderRefusal::kNone) {
    PathForms forms = SystemPathForms(folder);
    folder = forms.longForm;
    std::vector<std::string> protectedFolders = ProtectedFolders();
    verdict = JudgeFolder(forms.longForm, protectedFolders);
    if (verdict == FolderRefusal::kNone && !forms.shortForm.empty())
      verdict = JudgeFolder(forms.shortForm, protectedFolders);
    if (verdict == FolderRefusal::kNone && forms.throughLink) verdict = FolderRefusal::kThroughLink;
  }
  if (canonical) *canonical = folder;
  if (why) *why = verdict;
  return verdict == FolderRefusal::kNone;
}
