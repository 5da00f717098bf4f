// What the uninstaller removes, decided from setup's records and what it
// finds on disk, without Win32.
#pragma once
#include "common/text.h"
#include "common/list.h"

#include "common/folder_verdict.h"

// The install folder to remove.  The one recorded in win.ini wins.  Without a
// record (a half-finished setup writes none), the uninstaller's own folder is
// taken when it is plainly the product's: it holds the main program, or it is
// named "Corvane", as setup names every install folder.  Otherwise "".
Text ChooseInstallFolder(const Text& recorded, const Text& ownFolder,
                                bool ownFolderHoldsMainProgram);

// A record that names a folder the folder guard refuses.  While one is
// there, the uninstaller removes nothing at all: the records are what tells
// it where the product is, and one of them is wrong.
struct RefusedRecord {
  enum Kind { InstallFolder, ProgramGroup };
  Kind kind = InstallFolder;
  Text folder;                        // as recorded
  FolderRefusal why = FolderRefusal::None;  // None when no record is refused
};

// The program group folder: the recorded one, else the one setup would have
// made in the Programs folder ("" when that is unknown too).
Text ChooseGroupFolder(const Text& recordedGroup, const Text& programsFolder);

// The two shortcuts that setup puts beside the group, found from the group
// folder exactly as setup builds them, with the ".." resolved.
struct FixedLinks {
  Text mainProgram;    // at the top of the Start menu
  Text scheduledScan;  // in the Start-up folder
};
FixedLinks FixedLinksOf(const Text& groupFolder);

// One entry directly inside the install folder.
struct FolderEntry {
  Text name;
  bool isFolder;
};

// The product's own entries: its programs, its scan engine, setup's task file,
// the installer's replacement of a file that was in use (CVSxxxx.TMP, renamed
// into place at the next start) and the three subfolders that setup makes
// (everything in those belongs to the product).  Names compare in any ASCII
// letter case.
bool IsProductEntry(const FolderEntry& entry);

// Splits a listing of the install folder into the product's entries and the
// rest, which are the user's; "." and ".." are dropped.
void SplitEntries(const List<FolderEntry>& entries, List<FolderEntry>* product,
                  List<FolderEntry>* others);

// True for a shortcut file name (".LNK" or ".PIF" in any case): what the
// uninstaller may delete in the program group.
bool IsShortcutName(const Text& name);
