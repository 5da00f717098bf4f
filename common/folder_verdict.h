// Whether a folder that one of the product's records names may be removed
// from, or have its programs ended, without Win32.  The records are plain
// text in win.ini that users, other programs and damaged disks change, so a
// record is never trusted to name a folder of ours.
#pragma once
#include "common/text.h"
#include "common/list.h"

// Why a recorded folder is refused; None when it is not.
enum class FolderRefusal {
  None,
  NotAbsolute,     // empty, relative, "C:x" on a drive's current folder, or "\x" on the current drive
  BadName,         // a character no Windows name holds, or a name of dots and blanks only
  DriveRoot,
  ShareRoot,       // "\\server\share", or a share path without its share
  Protected,       // one of the folders that Windows and the user keep
  HoldsProtected,  // a folder that holds one of those
  ThroughLink,     // reached through a junction or other reparse point (found on disk only)
  OutsidePrograms,  // a program group that is not inside the Start menu's Programs folder
};

// The verdict on `folder` (any spelling; its canonical text is judged).
// `protectedFolders` are compared as canonical text in any ASCII letter
// case; entries that are not absolute are ignored.
FolderRefusal JudgeFolder(const Text& folder, const List<Text>& protectedFolders);

// Why a folder is refused, in a sentence for a message or a log; "" for None.
const char* FolderRefusalReason(FolderRefusal why);
