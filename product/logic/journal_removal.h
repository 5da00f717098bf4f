// What the uninstaller removes of a finished install, from setup's journal
// (install/journal_format.h), without Win32.
#pragma once
#include "common/text.h"
#include "common/list.h"

#include "install/journal.h"
#include "install/journal_trust.h"

struct JournalRemoval {
  // Files that setup made, and files that it replaced outside the Windows
  // and system folders (the old ones went when the install finished).
  List<Text> files;
  // Files that setup put into the system folder and counted under
  // SharedDLLs: one user less, and gone when none is left.
  List<Text> sharedFiles;
  // Counts that an earlier run of the uninstaller was lowering (L records):
  // each from the count it names, once.
  List<JournalRecord> lowering;
  // Files that setup replaced in the Windows or system folder: other
  // programs may use them, so they stay.
  List<Text> replacedSystemFiles;
  // Folders that setup made, inner ones first: removed once empty.
  List<Text> folders;
  // The outermost of them above the install folder (a folder given on the
  // command line may lie below folders that were not there); "" for none.
  Text madeAbove;
};

// Only the records that the journal trust rule lets lead anywhere are
// planned; the others are added to `skipped` (may be null).
JournalRemoval PlanJournalRemoval(const Journal& journal, const JournalPlaces& places,
                                  List<JournalRecord>* skipped = nullptr);

// The journal that a second run of the uninstaller works from: the records
// of what is still there.  `stillThere` tells, for a file or folder path.
Journal RemainingJournal(const Journal& journal, const List<Text>& stillThere);

// The journal that stands on disk while the plan's files are deleted and its
// counts lowered: it names the plan's folders, which go only once empty, and
// of its files `filesLeft`; its counts are the L records of `lowering`, each
// with the count it is lowered from.  Written before the first of those
// steps (naming every file still to go) and again before the question about
// other files (naming what did not go), it lets a run that is killed
// part-way, or one started beside it, delete what is still there and lower
// each count that still reads what it was, and no other, once.
Journal JournalWhileRemoving(const Journal& journal, const JournalRemoval& plan, const List<Text>& filesLeft,
                             const List<JournalRecord>& lowering = {});
