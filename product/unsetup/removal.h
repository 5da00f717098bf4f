// Finding and removing what setup made of an installation: the install
// folder, the program group with its shortcuts, the two fixed shortcuts, the
// win.ini section and the uninstall entry.  Files that setup put into the
// Windows and system folders stay: other programs may share them.
#pragma once
#include <string>

#include "product/logic/uninstall_plan.h"

struct Installation {
  std::string folder;  // install folder in its long form; "" when none is known
  std::string group;   // program group folder in its long form; "" when unknown
  FixedLinks links;
  RefusedRecord refused;  // a folder the folder guard refuses: nothing may be removed
};

// The installation around `folder`: the group from win.ini (LInstall), else
// where setup would have made it.  Both folders go through the folder guard;
// when it refuses one, only `refused` is filled in.
Installation FindInstallation(const std::string& folder);

// True when anything that setup makes is still there.
bool HasTraces(const Installation& installation);

struct RemovalResult {
  std::string keptFolder;  // the install folder, kept for the user's files
  bool leftForRestart;     // some files are deleted at the next start
  RefusedRecord refused;   // the folder guard refused a folder: nothing was removed
};

// Ends the product's running programs and removes everything; asks first
// whether files of the user's in the install folder go too.  The folders go
// through the folder guard once more first.
RemovalResult RemoveInstallation(const Installation& installation);
