// Finding and removing what setup made of an installation.  With setup's
// journal, exactly what it names goes: the files setup made, its folders
// once empty, its shortcuts and group, its records; a file it put into the
// system folder goes when its SharedDLLs count says no other program uses
// it, and files it replaced in the Windows or system folder stay.  Without
// a journal (an install made before setup kept one), the install folder,
// the program group with its shortcuts, the two fixed shortcuts, the win.ini
// section and the uninstall entry go, and the Windows and system folders
// are not touched.
#pragma once
#include "common/text.h"

#include "install/journal.h"
#include "product/logic/uninstall_plan.h"
#include "product/logic/unsetup_text.h"

struct Installation {
  Text folder;  // install folder in its long form; "" when none is known
  Text group;   // program group folder in its long form; "" when unknown
  FixedLinks links;
  bool hasJournal = false;  // a finished install's journal, read at the start
  Journal journal;
  RefusedRecord refused;  // a folder the folder guard refuses: nothing may be removed
};

// The installation around `folder`: the group from win.ini (LInstall), else
// where setup would have made it.  An unfinished journal is rolled back
// first: the caller holds the run lock (install/run_lock.h), so no setup is
// at work on it.  Both folders go through the folder guard;
// when it refuses one, only `refused` is filled in.
Installation FindInstallation(const Text& folder);

// True when anything that setup makes is still there.
bool HasTraces(const Installation& installation);

using RemovalResult = RemovalOutcome;

struct RemovalOptions {
  // Whether the user is asked about files in the install folder that are not
  // setup's; without asking, `removeOthers` is the answer.
  bool ask = true;
  bool removeOthers = false;
};

// Ends the product's running programs and removes everything; asks first
// whether files of the user's in the install folder go too.  The folders go
// through the folder guard once more first; a refusal removes nothing.  This program's
// own file, when it lies in the install folder, is left for its caller: it
// cannot be deleted while it runs.
RemovalResult RemoveInstallation(const Installation& installation, const RemovalOptions& options = RemovalOptions());
