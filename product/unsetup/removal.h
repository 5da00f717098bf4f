// Finding and removing what setup made of an installation: the install
// folder, the program group with its shortcuts, the two fixed shortcuts, the
// win.ini section and the uninstall entry.  Files that setup put into the
// Windows and system folders stay: other programs may share them.
#pragma once
#include <string>

#include "product/logic/uninstall_plan.h"

struct Installation {
  std::string folder;  // install folder; "" when none is known or it may not be removed
  std::string group;   // program group folder; "" when unknown
  FixedLinks links;
};

// The installation around `folder`: the group from win.ini (LInstall), else
// where setup would have made it.  A folder that must not be removed (a drive
// root, one holding Windows) is dropped.
Installation FindInstallation(const std::string& folder);

// True when anything that setup makes is still there.
bool HasTraces(const Installation& installation);

struct RemovalResult {
  std::string keptFolder;  // the install folder, kept for the user's files
  bool leftForRestart;     // some files are deleted at the next start
};

// Ends the product's running programs and removes everything; asks first
// whether files of the user's in the install folder go too.
RemovalResult RemoveInstallation(const Installation& installation);
