// Finding and removing what setup made of an installation.
#include "product/unsetup/removal.h"

#include <windows.h>

#include <vector>

#include "common/folder_guard.h"
#include "product/common/records.h"
#include "product/logic/unsetup_text.h"
#include "product/unsetup/restart_delete.h"
#include "product/unsetup/stop_programs.h"
#include "scan/scan_text.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98";
// A program that has just been ended may hold its file for a moment.
constexpr int kDeleteAttempts = 5;
constexpr DWORD kDeleteRetryMs = 100;

std::string ProgramsFolder() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char value[kPathSize] = "";
  DWORD size = sizeof value - 1;
  LONG result = RegQueryValueExA(key, "Programs", NULL, NULL, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? value : "";
}

bool HasProfileSection() {
  char keys[kPathSize] = "";
  return GetProfileStringA("Corvane", NULL, "", keys, sizeof keys) > 0;
}

bool HasUninstallEntry() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}

// Deletes a file now, or else arranges its deletion at the next start.
void DeleteFileNowOrLater(const std::string& path, bool* leftForRestart) {
  (void)SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
    if (DeleteFileA(path.c_str()) || !FileExists(path)) return;
    Sleep(kDeleteRetryMs);
  }
  if (DeleteAtRestart(path)) *leftForRestart = true;
}

void DeleteEntries(const std::string& folder, const std::vector<FolderEntry>& entries, bool* leftForRestart);

// A folder that still holds a file waiting for the restart stays.  A
// junction (Windows 2000 and later) leads out of the install folder: only the
// link itself goes, or it stays, and what it leads to is never emptied.
void DeleteTree(const std::string& folder, bool* leftForRestart) {
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    (void)RemoveDirectoryA(folder.c_str());
    return;
  }
  DeleteEntries(folder, ListFolder(folder), leftForRestart);
  (void)SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  (void)RemoveDirectoryA(folder.c_str());
}

void DeleteEntries(const std::string& folder, const std::vector<FolderEntry>& entries, bool* leftForRestart) {
  for (const FolderEntry& entry : entries) {
    std::string path = JoinPath(folder, entry.name);
    if (entry.isFolder) {
      DeleteTree(path, leftForRestart);
    } else {
      DeleteFileNowOrLater(path, leftForRestart);
    }
  }
}

bool UserAgreesToDeleteOthers(const std::string& folder, const std::vector<FolderEntry>& others) {
  std::string question = OtherFilesQuestion(folder, others);
  return MessageBoxA(NULL, question.c_str(), kUninstallTitle,
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
}

// The product's entries go; the user's own go only when the user says so,
// and otherwise keep the folder.  Returns the folder when it is kept.
std::string RemoveInstallFolder(const std::string& folder, bool* leftForRestart) {
  if (folder.empty() || !FolderExists(folder)) return "";
  std::vector<FolderEntry> product;
  std::vector<FolderEntry> others;
  SplitEntries(ListFolder(folder), &product, &others);
  bool keepOthers = !others.empty() && !UserAgreesToDeleteOthers(folder, others);
  DeleteEntries(folder, product, leftForRestart);
  if (keepOthers) return folder;
  DeleteTree(folder, leftForRestart);
  return "";
}

// Only shortcuts are taken out of the group; anything else keeps it.
void RemoveGroup(const std::string& group) {
  if (group.empty() || !FolderExists(group)) return;
  for (const FolderEntry& entry : ListFolder(group)) {
    if (entry.isFolder || !IsShortcutName(entry.name)) continue;
    std::string path = JoinPath(group, entry.name);
    (void)SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    (void)DeleteFileA(path.c_str());
  }
  (void)RemoveDirectoryA(group.c_str());
}

// The installation's folders in their long forms or, when the folder guard
// refuses one of them, only that refusal.  An unknown folder ("") is nothing
// to refuse.
Installation Guarded(const std::string& folder, const std::string& group) {
  Installation guarded;
  FolderRefusal why = FolderRefusal::kNone;
  if (!folder.empty() && !MayRemoveOrStopIn(folder, &guarded.folder, &why)) {
    guarded.refused = {RefusedRecord::kInstallFolder, folder, why};
  } else if (!group.empty() && !MayRemoveOrStopIn(group, &guarded.group, &why)) {
    guarded.refused = {RefusedRecord::kProgramGroup, group, why};
  } else {
    guarded.links = FixedLinksOf(guarded.group);
    return guarded;
  }
  guarded.folder.clear();
  guarded.group.clear();
  return guarded;
}

}  // namespace

Installation FindInstallation(const std::string& folder) {
  return Guarded(folder, ChooseGroupFolder(ProfileValue("LInstall"), ProgramsFolder()));
}

bool HasTraces(const Installation& installation) {
  return (!installation.folder.empty() && FolderExists(installation.folder)) ||
         (!installation.group.empty() && FolderExists(installation.group)) ||
         (!installation.links.mainProgram.empty() && FileExists(installation.links.mainProgram)) ||
         (!installation.links.scheduledScan.empty() && FileExists(installation.links.scheduledScan)) ||
         HasProfileSection() || HasUninstallEntry();
}

RemovalResult RemoveInstallation(const Installation& installation) {
  RemovalResult result = {"", false, {}};
  // Once more just before anything goes: a folder may have changed since.
  result.refused = Guarded(installation.folder, installation.group).refused;
  if (result.refused.why != FolderRefusal::kNone) return result;
  StopProgramsIn(installation.folder);
  result.keptFolder = RemoveInstallFolder(installation.folder, &result.leftForRestart);
  RemoveGroup(installation.group);
  if (!installation.links.mainProgram.empty()) (void)DeleteFileA(installation.links.mainProgram.c_str());
  if (!installation.links.scheduledScan.empty()) (void)DeleteFileA(installation.links.scheduledScan.c_str());
  (void)WriteProfileStringA("Corvane", NULL, NULL);
  (void)RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  return result;
}
