// WININIT.INI in the Windows folder: what Windows 95/98 rename and delete at
// their next start, for files that are in use now. Shared by _SETUP.DLL and
// the uninstaller (through at_restart.h), and by whatever must take back a
// rename the library scheduled.
//
// Every edit reads the whole file or does nothing (an absent file is empty; a
// present one that cannot be read, or that is over 1 MB, fails the edit),
// changes the text in memory (wininit_text.h: other programs' lines stay byte
// for byte), writes it to a temporary file in the Windows folder and then
// puts that in place of WININIT.INI (replace_file.h), so that a complete
// WININIT.INI, old or new, exists throughout. When an edit fails,
// WININIT.INI is as it was.
//
// WININIT.EXE carries the section out in real mode, before long names exist:
// every path given here must be a short (8.3) path, see ShortPath.
#pragma once

#include <stddef.h>

namespace wininit {

// The short form of an existing path; false when the system gives none or it
// does not fit in outSize bytes.
bool ShortPath(const char* path, char* out, size_t outSize);

// Adds "target=source": at the next start source is moved over target.
bool ScheduleRename(const char* target, const char* source);

// Adds "NUL=path": at the next start path is deleted.
bool ScheduleDelete(const char* path);

// The source of the rename of target scheduled last, the one that decides
// what target becomes. False when none is scheduled, WININIT.INI cannot be
// read, or the source does not fit in sourceSize bytes.
bool FindRename(const char* target, char* source, size_t sourceSize);

enum class Withdrawal {
  Withdrawn,      // the rename is gone; source names the file it would have moved
  NoneScheduled,  // no rename of target is scheduled; WININIT.INI is unchanged
  Failed,         // WININIT.INI could not be read or rewritten, or the source
                  // does not fit in sourceSize; WININIT.INI is unchanged
};

// Withdraws the rename of target scheduled last (the lines "target=source"
// with its source), as when undoing a ScheduleRename made just before; an
// earlier rename of the same target stays. The source goes to source
// (sourceSize bytes), for the caller to delete that file.
Withdrawal WithdrawRename(const char* target, char* source, size_t sourceSize);

}  // namespace wininit
