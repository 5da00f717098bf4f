// Replacing a file so that a complete copy of it, old or new, exists at every
// moment: the new one is written to a temporary file beside it, the old one
// is renamed aside, the new one moved in, and the old one renamed back when
// that fails. Windows 9x has no rename that replaces, and a delete followed
// by a move loses both versions when the move fails.
#pragma once

#include <windows.h>

// Makes a new, empty file with a free name CVSxxxx.TMP (a short name, as
// WININIT.INI needs) in folder, opened for writing; its path goes to temp
// (MAX_PATH bytes). INVALID_HANDLE_VALUE when the folder does not exist or
// cannot be written.
HANDLE CreateTempFile(const char* folder, char* temp);

enum class Replacement {
  Done,    // fresh is in target's place; the old file, if any, is at aside
  InUse,   // target is open in a process and cannot be renamed; nothing changed
  Failed,  // fresh could not be put in place; the old file is back
};

// Puts the complete file fresh, which lies in target's folder, in place of
// target. An old target is first renamed to a free CVSxxxx.TMP name beside
// it, whose path goes to aside (MAX_PATH bytes; "" when there was no old
// file); deleting it after Done is the caller's. fresh stays where it was
// unless Done. Should the old file, after a failed move, not come back under
// its name (a rename that just worked failing now), it stays complete at
// aside, which then is not "" even though the result is Failed.
Replacement ReplaceTargetFile(const char* fresh, const char* target, char* aside);
