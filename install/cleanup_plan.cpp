// What a failed copy removes.
#include "cleanup_plan.h"

std::string DeltreeCommand(const std::string& path) { return "deltree /y \"" + path + "\""; }

CleanupPlan PlanCleanup(const CopyRunRecord& record) {
  CleanupPlan plan;
  if (record.folderCreated) {
    plan.deltreeCommands.push_back(DeltreeCommand(record.installFolder));
    return plan;
  }
  for (const std::string& sub : record.createdSubfolders)
    plan.deltreeCommands.push_back(DeltreeCommand(sub));
  plan.filesToDelete = record.installedFiles;
  return plan;
}
