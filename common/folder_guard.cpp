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

// What the disk answered for each path looked at while the protected
// folders are worked out: the shell's folders share most of their leading
// components, and each look is a directory search.  Kept for one working-out
// only, so that it never outlives a change on the disk.
class DiskAnswers {
 public:
  struct Found {
    Text path;
    bool there;
    Text name;
    Text shortName;
    bool link;
  };
  const Found* Look(const Text& path) {
    for (const Found& f : found_)
      if (f.path == path) return &f;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(path.c_str(), &data);
    Found f = {path, search != INVALID_HANDLE_VALUE, "", "", false};
    if (f.there) {
      FindClose(search);
      f.name = data.cFileName;
      // A name that is 8.3 already has no alias.
      f.shortName = data.cAlternateFileName[0] != '\0' ? data.cAlternateFileName : data.cFileName;
      f.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }
    found_.push_back(f);
    return &found_.back();
  }

 private:
  List<Found> found_;
};

// FindFirstFileA gives each component's long name as the disk holds it, and
// its 8.3 alias: GetShortPathNameA would look every component up once more.
// From the first component that is not there, the rest of the long form stays
// as written, and there is no short form.
PathForms FormsOf(const Text& path, DiskAnswers* disk) {
  QuietDriveErrors quiet;
  const Text full = FullPathOf(CanonicalPathText(path));
  size_t at = CanonicalRootLength(full);
  Text built = full.substr(0, at);
  Text shortBuilt = built;
  bool onDisk = IsAbsolutePath(full);
  PathForms forms = {"", "", false};
  while (at < full.size()) {
    if (full[at] == '\\') ++at;
    size_t end = full.find('\\', at);
    if (end == Text::npos) end = full.size();
    Text name = full.substr(at, end - at);
    at = end;
    // A wildcard would find some other name.
    onDisk = onDisk && name.find_first_of("*?") == Text::npos;
    if (onDisk) {
      const DiskAnswers::Found* found = disk->Look(JoinPath(built, name));
      onDisk = found->there;
      if (onDisk) {
        name = found->name;
        shortBuilt = JoinPath(shortBuilt, found->shortName);
        if (found->link) forms.throughLink = true;
      }
    }
    built = JoinPath(built, name);
  }
  forms.longForm = built;
  if (onDisk) forms.shortForm = CanonicalPathText(shortBuilt);
  return forms;
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
  DiskAnswers disk;
  return FormsOf(path, &disk);
}

namespace {

// What GetFileAttributesA says of a path, asking for no disk.
DWORD QuietAttributes(const Text& path, DWORD* error) {
  QuietDriveErrors quiet;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  *error = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
  return attributes;
}

bool KnownThere(const Text& path) {
  DWORD error;
  return path.find_first_of("*?") == Text::npos && QuietAttributes(path, &error) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool KnownMissing(const Text& path) {
  DWORD error;
  return QuietAttributes(path, &error) == INVALID_FILE_ATTRIBUTES &&
         (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
}

List<Text> ProtectedFolders(bool onlyMissing) {
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
  DiskAnswers disk;
  for (const Text& folder : named) {
    // Made full, a relative value would protect whatever folder is current.
    if (!IsAbsolutePath(CanonicalPathText(folder))) continue;
    if (onlyMissing && KnownThere(folder)) continue;
    PathForms forms = FormsOf(folder, &disk);
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
    // A folder that is not there can neither be nor hold one that is: only
    // the protected folders that are not there either are looked at closely
    // (each is a directory search per component, tens of milliseconds for
    // all of them).
    List<Text> protectedFolders = ProtectedFolders(KnownMissing(forms.longForm));
    verdict = JudgeFolder(forms.longForm, protectedFolders);
    if (verdict == FolderRefusal::None && !forms.shortForm.empty())
      verdict = JudgeFolder(forms.shortForm, protectedFolders);
    if (verdict == FolderRefusal::None && forms.throughLink) verdict = FolderRefusal::ThroughLink;
  }
  if (canonical) *canonical = folder;
  if (why) *why = verdict;
  return verdict == FolderRefusal::None;
}
