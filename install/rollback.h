// Undoing an install run from its journal, and finishing at start-up what an
// earlier run left.
#pragma once
#include "common/text.h"

#include "install/journal.h"
#include "install/journal_trust.h"

// Puts back what the run's records say it changed: its files deleted, the
// files it replaced restored with their time stamps and attributes, files
// in use given back their old copies (at once, or when Windows next starts
// when they are held again), records and keys as they were, the folders it
// made removed once empty.  Nothing that the journal does not name is
// touched, except the support library's temporary files that the run left
// beside its files; outside the install folder, a file that is no longer
// the one the run left stays.  An old copy kept aside goes only once its
// file holds what should stay.  With `startRemovalCommand`, the removal
// command is then started for each folder the run made (when the command
// fits a DOS command line).  Returns the journal of what could not be
// undone (no records when everything was).
Journal UndoRun(const Journal& journal, bool startRemovalCommand);

// Discards the old copies that a finished run kept aside.
void DiscardAsides(const Journal& journal);

// The places of this PC that a journal's records may lead to: its install
// folder as the folder guard sees it (none when the guard refuses it), the
// Windows and system folders, the Start menu's Programs folder.
JournalPlaces PlacesOf(const Journal& journal);

// A file's size and times; false when it is not there.
bool FactsOfFile(const Text& path, FileFacts* facts);

// At start-up, before anything else looks at the PC: an unfinished journal
// (setup was ended or the PC went off during the copy) is rolled back
// without a window or a question, following only the records that lead to
// setup's own places; a finished one only loses the old copies that it may
// still keep.  False when something could not be put back: its journal
// stays for the next start, and `stuckOn` names the file (or the journal
// itself, when it cannot be read).
bool FinishEarlierRun(Text* stuckOn);
