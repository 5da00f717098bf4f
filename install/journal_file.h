// The install journal's file: CORVANE.JNL in the Windows folder.  Setup
// writes it; setup's next start and the uninstaller read it.
#pragma once
#include "common/text.h"

#include "install/journal.h"

Text JournalPath();

enum class JournalFile {
  Absent,
  Read,
  // There, but not read whole (held open, a failing disk): its records
  // cannot be known, and nothing may take its place.
  Unreadable,
  // A file without a journal's first line: a run stopped before it wrote
  // it, so nothing was changed; or something else of that name.
  NotAJournal,
};

// Reads the journal; when a rewrite stopped between taking the old file
// away and putting the new one in its place, finishes that first.
JournalFile ReadJournalFile(Journal* journal);
// True when a journal was read.
bool ReadJournal(Journal* journal);

// Writes `journal` in place of the file, finished (with its last line) when
// journal.committed: beside it first, flushed, so that an old or a new
// journal is there throughout.  False when it could not be written; the old
// one then stays.
bool WriteJournal(const Journal& journal);
// The same for a journal that is finished.
bool WriteFinishedJournal(const Journal& journal);
// The journal and any unfinished rewrite of it go.  False when the journal
// is still there.
bool DeleteJournal();
