// Finding what setup made of an installation.
#include "product/unsetup/installation.h"

#include <windows.h>

#include "common/folder_guard.h"
#include "common/path_text.h"
#include "common/setup_log.h"
#include "common/shell_folders.h"
#include "install/install_records.h"
#include "install/journal_file.h"
#include "install/rollback.h"
#include "product/common/records.h"
#include "product/logic/product_paths.h"

namespace {

bool HasProfileSection() {
  char keys[kPathBufferSize] = "";
  return GetProfileStringA(kRecordSection, NULL, "", keys, sizeof keys) > 0;
}

bool HasUninstallEntry() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Setup makes its program group inside the Start menu's Programs folder and
// nowhere else: a group recorded elsewhere (the desktop, say) is not one.
bool InsidePrograms(const Text& group) {
  Text programs = ShellProgramsFolder();
  return !programs.empty() && IsInsideFolder(group, SystemPathForms(programs).longForm);
}

}  // namespace

Installation GuardedInstallation(const Text& folder, const Text& group) {
  Installation guarded;
  FolderRefusal why = FolderRefusal::None;
  if (!folder.empty() && !MayRemoveOrStopIn(folder, &guarded.folder, &why)) {
    guarded.refused = {RefusedRecord::InstallFolder, folder, why};
  } else if (!group.empty() && !MayRemoveOrStopIn(group, &guarded.group, &why)) {
    guarded.refused = {RefusedRecord::ProgramGroup, group, why};
  } else if (!group.empty() && !InsidePrograms(guarded.group)) {
    guarded.refused = {RefusedRecord::ProgramGroup, group, FolderRefusal::OutsidePrograms};
  } else {
    guarded.links = FixedLinksOf(guarded.group);
    return guarded;
  }
  guarded.folder.clear();
  guarded.group.clear();
  return guarded;
}

Installation FindInstallation(const Text& folder) {
  Installation installation;
  Journal journal;
  if (ReadJournal(&journal) && !journal.committed) {
    // A copy that never finished, and no setup is running to finish it (the
    // caller holds the run lock): taken back as setup's next start would.
    Text stuck;
    if (!FinishEarlierRun(&stuck)) SetupLog("끝나지 않은 설치를 다 되돌리지 못했습니다: " + stuck);
  } else if (journal.committed) {
    installation.hasJournal = true;
    installation.journal = journal;
  }
  // With a journal, the folder setup installed into; without one, only a
  // folder that plainly holds the product.
  // A record that the guard refuses is refused even when it holds no
  // product: the user is told what the record says.
  Text candidate = installation.hasJournal ? journal.installFolder : folder;
  Installation guarded = GuardedInstallation(candidate, ChooseGroupFolder(ProfileValue(kGroupRecord), ShellProgramsFolder()));
  if (!installation.hasJournal && !FileExists(JoinPath(guarded.folder, kMainProgram))) guarded.folder.clear();
  guarded.hasJournal = installation.hasJournal;
  guarded.journal = installation.journal;
  return guarded;
}

bool HasTraces(const Installation& installation) {
  return installation.hasJournal || (!installation.folder.empty() && FolderExists(installation.folder)) ||
         (!installation.group.empty() && FolderExists(installation.group)) ||
         (!installation.links.mainProgram.empty() && FileExists(installation.links.mainProgram)) ||
         (!installation.links.scheduledScan.empty() && FileExists(installation.links.scheduledScan)) ||
         HasProfileSection() || HasUninstallEntry();
}

List<FolderEntry> ListFolder(const Text& folder) {
  List<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    Text name = found.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return entries;
}
