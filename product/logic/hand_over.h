// The uninstaller's hand-over to a copy of itself, without Win32.
//
// A program cannot delete its own file while it runs, and the uninstaller
// runs from the folder it removes.  So after the user has said yes, it copies
// itself into the TEMP folder, starts the copy with a command line that names
// the original process and the install folder, and ends; the copy waits for
// the original to end and does the removal.
#pragma once
#include "common/text.h"

struct HandOver {
  unsigned long parentId;  // the original process, to wait for
  Text folder;      // the install folder to remove; "" for none
  // A silent uninstall removes everything itself and leaves the copy only
  // its own program file to delete (named in `folder`) once it has ended.
  bool cleanupOnly = false;
  // With cleanupOnly: the outermost folder that setup made above the install
  // folder ("" for none); the copy removes the emptied folders up to it.
  Text madeAbove = Text();
};

// The file name of the n-th candidate for the copy in the TEMP folder.
Text CopyFileName(int n);

// The copy's whole command line: its own path in quotation marks, the
// hand-over switch, the parent's id and the folder in quotation marks, then
// for a cleanup a second folder in quotation marks when madeAbove is set.
Text HandOverCommandLine(const Text& copyPath, const HandOver& handOver);

// Reads the arguments part of a command line (what WinMain gets, without the
// program's own name).  False for anything that is not exactly a hand-over.
bool ParseHandOver(const Text& arguments, HandOver* handOver);

// The uninstaller's own switches for unattended removal: /S (no question,
// no message), /ALL (the user's files in the install folder go too) and
// /LOG=file, in any letter case and order.
struct UnsetupSwitches {
  bool silent = false;
  bool all = false;
  Text log;
  Text error;  // empty when every word is understood
};
UnsetupSwitches ParseUnsetupSwitches(const Text& arguments);
