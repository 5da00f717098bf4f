// Undoing an install run from its journal, and finishing at start-up what an
// earlier run left.
#pragma once
#include "common/text.h"

#include "install/journal.h"

// Puts back what the run's records say it changed: its files deleted, the
// files it replaced restored with their time stamps and attributes, restart
// replacements withdrawn, records and keys as they were, the folders it made
// removed once empty.  Nothing that the journal does not name is touched,
// except the support library's temporary files that the run left beside its
// files.  With `startRemovalCommand`, the removal command is then started for
// each folder the run made (when the command fits a DOS command line).
void UndoRun(const Journal& journal, bool startRemovalCommand);

// Discards the old copies that a finished run kept aside.
void DiscardAsides(const Journal& journal);

// At start-up, before anything else looks at the PC: an unfinished journal
// (setup was ended or the PC went off during the copy) is rolled back
// without a window or a question; a finished one only loses the old copies
// that it may still keep.
void FinishEarlierRun();
