// Texts of the uninstaller, without Win32.
#pragma once
#include "common/text.h"
#include "common/list.h"

#include "product/logic/uninstall_plan.h"

extern const char kUninstallTitle[];
extern const char kNothingToRemoveText[];
// How many names a message lists before it only counts the rest: a message
// box taller than the screen hides its buttons.
constexpr size_t kOtherNamesShown = 10;

// The question before anything is removed; names the install folder when
// there is one.
Text RemoveQuestion(const Text& installFolder);

// Asks whether the user's own files in the install folder go too; names at
// most a screenful of them, and the file that lists them all when one was
// written.
Text OtherFilesQuestion(const Text& installFolder, const List<FolderEntry>& others,
                               const Text& fullListFile = "");

// What a removal left, for the last message.
struct RemovalOutcome {
  Text keptFolder;               // the install folder, kept for the user's files
  bool leftForRestart = false;          // some files go at the next start of Windows
  List<Text> notRemoved;  // setup's files that could go neither now nor then
  List<Text> keptChanged;  // files outside the install folder that others changed since setup
  bool recordsKept = false;             // setup's records stay for a second run
  RefusedRecord refused;                // the folder guard refused a folder: nothing was removed
  Text madeAbove;  // the outermost folder setup made above the install folder; "" for none
};

// The last message: what was removed and, truthfully, what stayed and why.
Text DoneText(const RemovalOutcome& outcome);

// Why nothing was removed: the refused folder, which record named it, and
// what the folder is.
Text RefusedRecordText(const RefusedRecord& refused);
Text DoneText(const Text& keptFolder, bool filesLeftForRestart);
