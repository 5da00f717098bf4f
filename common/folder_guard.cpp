// The folder guard on this PC: paths as the file system sees them, and the
// folders that Windows and the user keep.
#include "common/folder_guard.h"

#include <windows.h>

#include "common/path_text.h"
#include "common/shell_folders.h"

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
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

Text FullPathOf(const Text& path) {
  char full[kPathBufferSize];
  char* name = NULL;
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
  return length > 0 && length < sizeof full ? CanonicalPathText(full) : path;
}

// FindFirstFileA gives each component's long name as the disk holds it.
// From the first component that is not there, the rest stays as written.
Text LongFormOf(const Text& full, bool* throughLink) {
  size_t at = CanonicalRootLength(full);
  Text built = full.substr(0, at);
  bool onDisk = IsAbsolutePath(full);
  while (at < full.size()) {
    if (full[at] == '\\') ++at;
    size_t end = full.find('\\', at);
    if (end == Text::npos) end = full.size();
    Text name = full.substr(at, end - at);
    at = end;
    // A wildcard would find some other name.
    onDisk = onDisk && name.find_first_of("*?") == Text::npos;
    if (onDisk) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA(JoinPath(built, name).c_str(), &found);
      onDisk = search != INVALID_HANDLE_VALUE;
      if (onDisk) {
        FindClose(search);
        name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) *throughLink = true;
      }
    }
    built = JoinPath(built, name);
  }
  return built;
}

Text ShortFormOf(const Text& path) {
  char shortPath[kPathBufferSize] = "";
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? CanonicalPathText(shortPath) : "";
}

Text RegistryText(HKEY root, const char* keyName, const char* valueName) {
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
void AddShellFolders(HKEY root, List<Text>* folders) {
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

Text EnvironmentText(const char* name) {
  char value[kPathBufferSize] = "";
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? value : "";
}

Text WindowsFolder() {
  char folder[kPathBufferSize] = "";
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  return length > 0 && length < sizeof folder ? folder : "";
}

Text SystemFolder() {
  char folder[kPathBufferSize] = "";
  UINT length = GetSystemDirectoryA(folder, sizeof folder);
  return length > 0 && length < sizeof folder ? folder : "";
}

}  // namespace

PathForms SystemPathForms(const Text& path) {
  QuietDriveErrors quiet;
  PathForms forms = {"", "", false};
  forms.longForm = LongFormOf(FullPathOf(CanonicalPathText(path)), &forms.throughLink);
  if (IsAbsolutePath(forms.longForm)) forms.shortForm = ShortFormOf(forms.longForm);
  return forms;
}

List<Text> ProtectedFolders() {
  List<Text> protectedFolders;
  // Drive roots by their text alone: a look at each would wake every drive.
  DWORD drives = GetLogicalDrives();
  for (int drive = 0; drive < 26; ++drive)
    if (drives & (1UL << drive)) protectedFolders.push_back(Text(1, static_cast<char>('A' + drive)) + ":\\");

  Text windows = WindowsFolder();
  Text programFiles = RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
  List<Text> named = {
      windows,
      SystemFolder(),
      windows.empty() ? "" : JoinPath(windows, "COMMAND"),
      windows.empty() ? "" : JoinPath(windows, "Profiles"),
      programFiles.empty() ? kDefaultProgramFiles : programFiles,
      RegistryText(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CommonFilesDir"),
      EnvironmentText("TEMP"),
      EnvironmentText("TMP"),
  };
  AddShellFolders(HKEY_CURRENT_USER, &named);
  AddShellFolders(HKEY_LOCAL_MACHINE, &named);
  for (const Text& folder : named) {
    // Made full, a relative value would protect whatever folder is current.
    if (!IsAbsolutePath(CanonicalPathText(folder))) continue;
    PathForms forms = SystemPathForms(folder);
    protectedFolders.push_back(forms.longForm);
    if (!forms.shortForm.empty()) protectedFolders.push_back(forms.shortForm);
  }
  return protectedFolders;
}

bool MayRemoveOrStopIn(const Text& recordedFolder, Text* canonical, FolderRefusal* why) {
  Text folder = CanonicalPathText(recordedFolder);
  // The text alone first: a relative record is refused before the system
  // could make it full against whatever folder happens to be current.
  FolderRefusal verdict = JudgeFolder(folder, {});
  if (verdict == FolderRefusal::None) {
    PathForms forms = SystemPathForms(folder);
    folder = forms.longForm;
    List<Text> protectedFolders = ProtectedFolders();
    verdict = JudgeFolder(forms.longForm, protectedFolders);
    if (verdict == FolderRefusal::None && !forms.shortForm.empty())
      verdict = JudgeFolder(forms.shortForm, protectedFolders);
    if (verdict == FolderRefusal::None && forms.throughLink) verdict = FolderRefusal::ThroughLink;
  }
  if (canonical) *canonical = folder;
  if (why) *why = verdict;
  return verdict == FolderRefusal::None;
}
