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

struct PlannedEntry {
  int n;
  ResolvedEntry entry;
  Text folder;
  Text shown;  // "<folder>\<name>"
};

// The entries from n on whose files are journaled together: up to
// kEntriesPreparedTogether, fewer at the manifest's end (the first absent
// key, which sets *last) and before a file the group makes already. Only
// files of the install folder go together; any other entry goes alone: one
// kept if present, since whether it is there is known only once the
// entries before it are made, and one elsewhere, since a rollback takes such
// a file without its size record only when it is the last one journaled.
List<PlannedEntry> NextEntries(const ManifestSection& files, int n, const Text& installFolder, bool* last) {
  List<PlannedEntry> group;
  *last = false;
  while (group.size() < kEntriesPreparedTogether) {
    const int at = n + static_cast<int>(group.size());
    const Text value = files.Value(at);
    if (value == kAbsentValue) {
      *last = true;
      break;
    }
    PlannedEntry p{at, ResolveEntry(value), "", ""};
    p.folder = p.entry.folder == TargetFolder::Install ? installFolder : SystemFolder(p.entry.folder);
    p.shown = p.folder + "\\" + p.entry.name;
    const bool alone = p.entry.skipIfPresent || p.entry.folder != TargetFolder::Install;
    bool again = false;
    for (const PlannedEntry& q : group) again = again || SamePath(q.shown, p.shown);
    if (again || (alone && !group.empty())) break;
    group.push_back(p);
    if (alone) break;
  }
  return group;
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
  // A quit confirmed meanwhile: nothing further is installed, and what this
  // run did is undone.
  auto stopped = [&]() {
    journal.RollBack(true);
    return InstallResult::Stopped;
  };
  if (!journal.Begin(installFolder)) return journalFailed();
  CreateInstallFolders(installFolder, parents, &journal);
  bool last = false;
  for (int n = 1; !last;) {
    const List<PlannedEntry> group = NextEntries(files, n, installFolder, &last);
    List<Text> made;
    for (const PlannedEntry& p : group)
      if (!p.entry.skipIfPresent) made.push_back(p.shown);
    journal.PrepareFiles(made);
    for (const PlannedEntry& p : group) {
      if (journal.Broken()) return journalFailed();
      if (!observer->KeepGoing()) return stopped();
      observer->ShowFile(p.shown);
      if (p.entry.skipIfPresent && GetFileAttributesA(p.shown.c_str()) != INVALID_FILE_ATTRIBUTES) {
        observer->EntrySkipped(p.shown);
      } else {
        // An entry kept if present is journaled alone, when it is reached.
        if (p.entry.skipIfPresent) journal.PrepareFile(p.shown);
        if (journal.Broken()) return journalFailed();
        if (!(initInstall && initInstall(p.folder.c_str(), p.entry.name.c_str()))) {
          observer->TellFailure(p.entry.name);
          journal.RollBack(true);
          return InstallResult::Failed;
        }
        journal.Made(p.shown);
        if (p.entry.folder == TargetFolder::System) journal.CountShared(p.shown);
      }
      observer->Advance(points.Points(p.n));
    }
    n += static_cast<int>(group.size());
  }
  // Asked once more after the last entry, as between any two.
  if (journal.Broken()) return journalFailed();
  if (!observer->KeepGoing()) return stopped();
  RegisterWithShell(installFolder, &journal);
  // The task file is written after the job, when the wizard finishes; it is
  // setup's too.
  journal.PrepareFile(SetupRunPath(installFolder));
  if (!journal.Commit()) return journalFailed();
  return journal.RestartNeeded() ? InstallResult::InstalledRestartNeeded : InstallResult::Installed;
}
