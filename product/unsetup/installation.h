// The installation that the uninstaller removes: where setup put it, read
// from setup's journal and records, with its folders through the folder guard.
#pragma once
#include "common/list.h"
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
// at work on it.  Both folders go through the folder guard; when it refuses
// one, only `refused` is filled in.
Installation FindInstallation(const Text& folder);

// The installation's folders in their long forms or, when the folder guard
// refuses one of them (or the group lies outside the Start menu's Programs
// folder), only that refusal.  An unknown folder ("") is nothing to refuse.
Installation GuardedInstallation(const Text& folder, const Text& group);

// True when anything that setup makes is still there.
bool HasTraces(const Installation& installation);

// The entries of a folder, without "." and "..".
List<FolderEntry> ListFolder(const Text& folder);
