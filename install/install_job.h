// The install job: the install folder and its subfolders, every manifest
// entry through the support library's InitInstall, the shell registration,
// all of it journaled and undone when the job does not finish.  It knows
// nothing of windows: whoever runs it (the copy page, or a silent install)
// is told what happens and asked whether to go on.
#pragma once
#include "common/text.h"

#include "setupdll/initinstall.h"

class InstallObserver {
 public:
  // The entry being installed, as "<folder>\<name>".
  virtual void ShowFile(const Text& shownPath) = 0;
  // An entry is done: the bar moves on by its points.
  virtual void Advance(int points) = 0;
  // An entry whose file was already there and stays.
  virtual void EntrySkipped(const Text& shownPath) = 0;
  // Asked between entries; false stops the job (a quit was confirmed).
  virtual bool KeepGoing() = 0;
  // InitInstall failed for `name`: told before the run is undone.
  virtual void TellFailure(const Text& name) = 0;

 protected:
  ~InstallObserver() = default;
};

enum class InstallResult {
  Installed,
  InstalledRestartNeeded,  // a file in use is replaced when Windows next starts
  Failed,                  // undone, after TellFailure
  Stopped,                 // undone: KeepGoing said no
};

// Folders above the install folder that are not there: left missing, so
// that the copy fails at its first file (the wizard, whose folder always
// lies in one that exists), or made and journaled like the install folder
// (a folder given on the command line).
enum class ParentFolders { AsTheyAre, MadeWhenMissing };

// Entries whose files the job journals together, with one flush.
constexpr size_t kEntriesPreparedTogether = 32;

InstallResult RunInstall(const Text& installFolder, ParentFolders parents, InitInstallFunction initInstall,
                         InstallObserver* observer);
