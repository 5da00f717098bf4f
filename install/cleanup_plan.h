// What a failed copy removes, without Win32.
//
// A folder that this run created is removed whole with deltree, as Windows 98
// setups do.  An install folder that existed before the run may hold files
// that are not this run's (an earlier installation's data, or the user's own):
// then only what this run made goes: the subfolders it created, and the files
// it installed directly into the folder.
#pragma once
#include <string>
#include <vector>

struct CopyRunRecord {
  std::string installFolder;
  bool folderCreated = false;
  std::vector<std::string> createdSubfolders;  // full paths
  std::vector<std::string> installedFiles;     // full paths inside the install folder
};

struct CleanupPlan {
  std::vector<std::string> deltreeCommands;  // for WinExec, paths quoted
  std::vector<std::string> filesToDelete;
};

CleanupPlan PlanCleanup(const CopyRunRecord& record);

// "deltree /y" with the path quoted, so that blanks keep it one argument.
std::string DeltreeCommand(const std::string& path);
