// Which records of an install journal may be acted on, without Win32.  The
// journal is a file in the Windows folder that damaged disks, other programs
// and people change, so neither the rollback nor the uninstaller follows a
// record anywhere but to the places setup itself changes.
#pragma once
#include <stdint.h>

#include "common/list.h"
#include "common/text.h"

#include "install/journal.h"

// The places of this PC that setup changes, as the caller found them.
struct JournalPlaces {
  // The journal's install folder in each spelling the system gives it (as
  // recorded, long form, short form).  Empty when the folder guard refuses
  // the recorded folder: then nothing in the journal is followed.
  List<Text> installFolders;
  Text windowsFolder;
  Text systemFolder;
  // The Start menu's Programs folder; "" when it cannot be read, and then
  // neither the group nor the links are followed.
  Text programsFolder;
};

// True when the record names only places that setup changes: inside the
// install folder; a folder above it (removed only when empty); a file
// directly in the Windows or system folder; the program group and its
// shortcuts, the main shortcut in the Start menu and the one in the
// Start-up folder; the win.ini section and the registry keys setup writes.
// Paths are judged in their canonical text; a name that Windows could read
// as some other place (wildcards, streams, a component of dots) is refused.
bool MayFollow(const JournalRecord& record, const JournalPlaces& places);

// Whether a file outside the install folder is still the one the run left:
// its size and last write match the run's T record.  Without a T record it
// is the file the run was making when it stopped (the last one it
// recorded), or one made since the run started.  Inside the install folder
// every file is the product's.
struct FileFacts {
  uint64_t size = 0;
  uint64_t created = 0;  // FILETIME, UTC
  uint64_t written = 0;
};
bool InsideInstallFolder(const Text& path, const JournalPlaces& places);
bool StillTheRunsFile(const Journal& journal, const Text& path, const FileFacts& facts);

// The journal with only the records that may be followed; the others are
// added to `skipped` (may be null).
Journal TrustedJournal(const Journal& journal, const JournalPlaces& places, List<JournalRecord>* skipped);
