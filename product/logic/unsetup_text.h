// Texts of the uninstaller, without Win32.
#pragma once
#include <string>
#include <vector>

#include "product/logic/uninstall_plan.h"

extern const char kUninstallTitle[];
extern const char kNothingToRemoveText[];

// The question before anything is removed; names the install folder when
// there is one.
std::string RemoveQuestion(const std::string& installFolder);

// Asks whether the user's own files in the install folder go too; names at
// most a screenful of them.
std::string OtherFilesQuestion(const std::string& installFolder, const std::vector<FolderEntry>& others);

// Why nothing was removed: the refused folder, which record named it, and
// what the folder is.
std::string RefusedRecordText(const RefusedRecord& refused);

// The last message: done, which folder was kept for the user's files, and
// whether some files wait for the next start of Windows.
std::string DoneText(const std::string& keptFolder, bool filesLeftForRestart);
