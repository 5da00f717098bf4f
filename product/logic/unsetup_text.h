// Texts of the uninstaller, without Win32.
#pragma once
#include <string>
#include <vector>

#include "product/logic/uninstall_plan.h"

extern const char kUninstallTitle[];
extern const char kNothingToRemoveText[];
// How many names a message lists before it only counts the rest: a message
// box taller than the screen hides its buttons.
constexpr std::size_t kOtherNamesShown = 10;

// The question before anything is removed; names the install folder when
// there is one.
std::string RemoveQuestion(const std::string& installFolder);

// Asks whether the user's own files in the install folder go too; names at
// most a screenful of them, and the file that lists them all when one was
// written.
std::string OtherFilesQuestion(const std::string& installFolder, const std::vector<FolderEntry>& others,
                               const std::string& fullListFile = "");

// What a removal left, for the last message.
struct RemovalOutcome {
  std::string keptFolder;               // the install folder, kept for the user's files
  bool leftForRestart = false;          // some files go at the next start of Windows
  std::vector<std::string> notRemoved;  // setup's files that could go neither now nor then
  bool recordsKept = false;             // setup's records stay for a second run
  RefusedRecord refused;                // the folder guard refused a folder: nothing was removed
};

// The last message: what was removed and, truthfully, what stayed and why.
std::string DoneText(const RemovalOutcome& outcome);

// Why nothing was removed: the refused folder, which record named it, and
// what the folder is.
std::string RefusedRecordText(const RefusedRecord& refused);
std::string DoneText(const std::string& keptFolder, bool filesLeftForRestart);
