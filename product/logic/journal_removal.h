// What the uninstaller removes of a finished install, from setup's journal
// (install/journal_format.h), without Win32.
#pragma once
#include "common/text.h"
#include "common/list.h"

#include "install/journal.h"

struct JournalRemoval {
  // Files that setup made, and files that it replaced outside the Windows
  // and system folders (the old ones went when the install finished).
  List<Text> files;
  // Files that setup put into the system folder and counted under
  // SharedDLLs: one user less, and gone when none is left.
  List<Text> sharedFiles;
  // Files that setup replaced in the Windows or system folder: other
  // programs may use them, so they stay.
  List<Text> replacedSystemFiles;
  // Folders that setup made, inner ones first: removed once empty.
  List<Text> folders;
  // The outermost of them above the install folder (a folder given on the
  // command line may lie below folders that were not there); "" for none.
  Text madeAbove;
};

JournalRemoval PlanJournalRemoval(const Journal& journal, const Text& windowsFolder,
                                  const Text& systemFolder);

// The journal that a second run of the uninstaller works from: the records
// of what is still there.  `stillThere` tells, for a file or folder path.
Journal RemainingJournal(const Journal& journal, const List<Text>& stillThere);
