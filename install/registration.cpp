// Registers the installed product with the shell: the program group and its
// shortcuts, two fixed shortcuts, win.ini records and the uninstall entry.
#include "install/registration.h"

#include <windows.h>
#include <objbase.h>

#include "common/disk_ops.h"
#include "common/shell_calls.h"
#include "common/shell_folders.h"
#include "common/text.h"

#include "install/journal_writer.h"
#include "install/install_records.h"
#include "install/manifest.h"
#include "install/manifest_entry.h"
#include "install/shortcut.h"

namespace {

// Setup reads the Programs folder into 128 bytes: a longer folder gets no
// group, no shortcuts and no fixed links.
constexpr size_t kProgramsReadSize = 128;

void MakeShortcut(JournalWriter* journal, const Text& target, const Text& link) {
  journal->PrepareFile(link);
  if (journal->Broken()) return;
  // Neither COM's nor the shortcut's result changes what setup does next.
  if (ops::Other("shortcut", link.c_str())) {
    (void)late::CoInitialize(NULL);
    (void)CreateShortcut(target.c_str(), link.c_str(), NULL, NULL, NULL, NULL, 0);
    late::CoUninitialize();
  }
  journal->RestoreIfNotMade(link);
  journal->Made(link);
}

// One shortcut per SetupLink entry that names a link file; "NO" makes none.
// The walk ends at the first absent SetupLink key, or at a link whose
// SetupFiles key is absent.
void MakeManifestShortcuts(const Text& installFolder, JournalWriter* journal, const Text& group) {
  const ManifestSection links("SetupLink"), files("SetupFiles");
  for (int n = 1;; ++n) {
    Text link = links.Value(n);
    if (link == kAbsentValue) return;
    if (link == "NO") continue;
    Text file = files.Value(n);
    if (file == kAbsentValue) return;
    MakeShortcut(journal, installFolder + "\\" + file, group + "\\" + link);
  }
}

void SetUninstallValue(JournalWriter* journal, const char* name, const Text& data) {
  HKEY key = journal->CreateMachineKey(kUninstallKey);
  if (!key) return;
  journal->SetString(key, kUninstallKey, name, data);
  RegCloseKey(key);
}

}  // namespace

void RegisterWithShell(const Text& installFolder, JournalWriter* journal) {
  Text programs;
  if (!ReadShellProgramsFolder(kProgramsReadSize, &programs)) return;
  Text group = programs;
  if (group.empty() || group.back() != '\\') group += "\\";
  group += kProgramGroupName;
  journal->MakeFolder(group);

  MakeManifestShortcuts(installFolder, journal, group);
  MakeShortcut(journal, installFolder + "\\" + kMainProgram, group + kMainLinkFromGroup);
  MakeShortcut(journal, installFolder + "\\" + kScheduleProgram, group + kScheduleLinkFromGroup);

  journal->WriteProfile(kRecordSection, kInstallRecord, installFolder.c_str());
  journal->WriteProfile(kRecordSection, kGroupRecord, group.c_str());

  SetUninstallValue(journal, "DisplayName", kUninstallDisplayName);
  SetUninstallValue(journal, "UninstallString", "\"" + installFolder + "\\" + kUninstaller + "\"");
}
