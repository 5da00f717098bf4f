// Registers the installed product with the shell: the program group and its
// shortcuts, two fixed shortcuts, win.ini records and the uninstall entry.
#include "install/registration.h"

#include <windows.h>
#include <objbase.h>

#include <string>

#include "install/journal_writer.h"
#include "install/manifest.h"
#include "install/manifest_entry.h"
#include "install/shortcut.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kGroupName[] = "코르바네™ for Win9X";
const char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98";
const char kDisplayName[] = "코르바네™ for Win95/98";
constexpr DWORD kProgramsReadSize = 128;

// The Start menu's Programs folder, as the shell records it; false when it
// cannot be read (or is 128 characters or longer).
bool ReadProgramsFolder(std::string* programs) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return false;
  char value[kProgramsReadSize + 1] = "";
  DWORD size = kProgramsReadSize;
  LONG r = RegQueryValueExA(key, "Programs", NULL, NULL, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return false;
  value[size < kProgramsReadSize ? size : kProgramsReadSize] = '\0';
  *programs = value;
  return true;
}

void MakeShortcut(JournalWriter* journal, const std::string& target, const std::string& link) {
  journal->PrepareFile(link);
  // Neither COM's nor the shortcut's result changes what setup does next.
  (void)CoInitialize(NULL);
  (void)CreateShortcut(target.c_str(), link.c_str(), NULL, NULL, NULL, NULL, 0);
  CoUninitialize();
  journal->RestoreIfNotMade(link);
}

// One shortcut per SetupLink entry that names a link file; "NO" makes none.
// The walk ends at the first absent SetupLink key, or at a link whose
// SetupFiles key is absent.
void MakeManifestShortcuts(const std::string& installFolder, JournalWriter* journal, const std::string& group) {
  for (int n = 1;; ++n) {
    std::string link = ReadManifestString("SetupLink", n);
    if (link == kAbsentValue) return;
    if (link == "NO") continue;
    std::string file = ReadManifestString("SetupFiles", n);
    if (file == kAbsentValue) return;
    MakeShortcut(journal, installFolder + "\\" + file, group + "\\" + link);
  }
}

void SetUninstallValue(JournalWriter* journal, const char* name, const std::string& data) {
  HKEY key = journal->CreateMachineKey(kUninstallKey);
  if (!key) return;
  journal->SetString(key, kUninstallKey, name, data);
  RegCloseKey(key);
}

}  // namespace

void RegisterWithShell(const std::string& installFolder, JournalWriter* journal) {
  std::string programs;
  if (!ReadProgramsFolder(&programs)) return;
  std::string group = programs;
  if (group.empty() || group.back() != '\\') group += "\\";
  group += kGroupName;
  journal->MakeFolder(group);

  MakeManifestShortcuts(installFolder, journal, group);
  MakeShortcut(journal, installFolder + "\\CV32W.EXE", group + "\\..\\..\\코르바네.LNK");
  MakeShortcut(journal, installFolder + "\\Schedule.EXE",
               group + "\\..\\시작프로그램\\예약검사.LNK");

  journal->WriteProfile("Corvane", "Install", installFolder.c_str());
  journal->WriteProfile("Corvane", "LInstall", group.c_str());

  SetUninstallValue(journal, "DisplayName", kDisplayName);
  SetUninstallValue(journal, "UninstallString", "\"" + installFolder + "\\Unsetup.exe\"");
}
