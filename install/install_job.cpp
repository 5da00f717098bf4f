// The install job, journaled and undone when it does not finish.
#include "install/install_job.h"

#include <windows.h>

#include "common/path_text.h"
#include "install/install_folder.h"
#include "install/journal_file.h"
#include "install/journal_writer.h"
#include "install/install_records.h"
#include "install/manifest.h"
#include "install/manifest_entry.h"
#include "install/registration.h"
#include "install/task_file.h"

namespace {

// Each call makes one level; existing folders are fine, and a folder that
// cannot be made shows up as a failing file in it.
void CreateInstallFolders(const Text& folder, ParentFolders parents, JournalWriter* journal) {
  if (parents == ParentFolders::MadeWhenMissing) {
    const Text canonical = CanonicalPathText(folder);
    const size_t root = CanonicalRootLength(canonical);
    for (size_t at = root + 1; at < canonical.size(); ++at)
      if (canonical[at] == '\\') journal->MakeFolder(canonical.substr(0, at));
  }
  journal->MakeFolder(folder);
  for (const char* sub : kInstallSubfolders) journal->MakeFolder(folder + "\\" + sub);
}

Text SystemFolder(TargetFolder which) {
  char dir[kPathBufferSize] = "";
  if (which == TargetFolder::System)
    GetSystemDirectoryA(dir, sizeof dir);
  else
    GetWindowsDirectoryA(dir, sizeof dir);
  return dir;
}

}  // namespace

InstallResult RunInstall(const Text& installFolder, ParentFolders parents, InitInstallFunction initInstall,
                         InstallObserver* observer) {
  const ManifestSection files("SetupFiles"), points("SetupPersent");
  JournalWriter journal;
  // Without a record of what it changes, the run changes nothing: the
  // journal's file is the one that cannot be made.
  auto journalFailed = [&]() {
    observer->TellFailure(JournalPath());
    journal.RollBack(true);
    return InstallResult::Failed;
  };
  if (!journal.Begin(installFolder)) return journalFailed();
  CreateInstallFolders(installFolder, parents, &journal);
  for (int n = 1;; ++n) {
    if (journal.Broken()) return journalFailed();
    // A quit confirmed meanwhile: nothing further is installed, and what
    // this run did is undone.
    if (!observer->KeepGoing()) {
      journal.RollBack(true);
      return InstallResult::Stopped;
    }
    Text value = files.Value(n);
    if (value == kAbsentValue) break;

    ResolvedEntry entry = ResolveEntry(value);
    Text folder = entry.folder == TargetFolder::Install ? installFolder : SystemFolder(entry.folder);
    Text shown = folder + "\\" + entry.name;
    bool skip = entry.skipIfPresent && GetFileAttributesA(shown.c_str()) != INVALID_FILE_ATTRIBUTES;
    observer->ShowFile(shown);

    if (skip) {
      observer->EntrySkipped(shown);
    } else {
      journal.PrepareFile(shown);
      if (journal.Broken()) return journalFailed();
      if (!(initInstall && initInstall(folder.c_str(), entry.name.c_str()))) {
        observer->TellFailure(entry.name);
        journal.RollBack(true);
        return InstallResult::Failed;
      }
      journal.Made(shown);
      if (entry.folder == TargetFolder::System) journal.CountShared(shown);
    }
    observer->Advance(points.Points(n));
  }
  RegisterWithShell(installFolder, &journal);
  // The task file is written after the job, when the wizard finishes; it is
  // setup's too.
  journal.PrepareFile(SetupRunPath(installFolder));
  if (!journal.Commit()) return journalFailed();
  return journal.RestartNeeded() ? InstallResult::InstalledRestartNeeded : InstallResult::Installed;
}
