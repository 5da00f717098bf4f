// The one check before anything is removed from, or any program is ended
// in, a folder that the product's records name: the folder as this PC's
// file system sees it, judged against the folders that Windows and the user
// keep.  Setup, _ISDEL.EXE and the uninstaller all go through it.
#pragma once
#include "common/text.h"
#include "common/list.h"

#include "common/folder_verdict.h"

// A path in the two spellings Windows 95 gives one file: the full path with
// each existing component as the disk spells it, and its 8.3 form.
struct PathForms {
  Text longForm;   // components that do not exist stay as written
  Text shortForm;  // "" when the path does not exist
  bool throughLink;       // an existing component is a junction or other reparse point
};

// The forms of `path` (made full against the current folder first).
// Windows 95 has no GetLongPathNameA: each component is looked up with
// FindFirstFileA.  Never asks for a disk in an empty drive.
PathForms SystemPathForms(const Text& path);

// True when the file system says there is nothing at `path`; false when
// there is, or when it cannot say (a drive not ready, no access). Never asks
// for a disk in an empty drive.
bool KnownMissing(const Text& path);

// The folders no record may make us remove from or end programs in, each in
// its long and short form: every drive root, the Windows, system, COMMAND and
// Profiles folders, Program Files and Common Files, TEMP and TMP, and every
// folder of the shell (Desktop, My Documents, Start Menu, Programs, Start-up,
// Fonts...) of the user and of all users. With `onlyMissing`, the folders
// named that are there are left out (the drive roots stay).
List<Text> ProtectedFolders(bool onlyMissing = false);

// True when the recorded folder may be removed from and its programs ended.
// `canonical` (may be null) receives the folder's long form, `why` (may be
// null) the reason for a refusal, None otherwise.
bool MayRemoveOrStopIn(const Text& recordedFolder, Text* canonical, FolderRefusal* why);
