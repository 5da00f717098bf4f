// The install journal's file: CORVANE.JNL in the Windows folder.  Setup
// writes it; setup's next start and the uninstaller read it.
#pragma once
#include "common/text.h"

#include "install/journal.h"

Text JournalPath();
// False when there is no journal or it cannot be read whole.
bool ReadJournal(Journal* journal);
// Puts a finished journal in place of the file, written beside it first so
// that an old or a new journal is there throughout.
bool WriteFinishedJournal(const Journal& journal);
