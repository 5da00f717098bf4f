// What a Setup.run byte asks for.
#include "isdel/tasks.h"

TaskPlan PlanTasks(const unsigned char* content, size_t size) {
  TaskPlan plan{false, false, false, 0};
  if (size != 1 || (content[0] & ~kEveryTask)) return plan;
  unsigned char mask = content[0];
  plan.valid = true;
  plan.runProduct = mask & kTaskRunProduct;
  plan.runScheduledScan = mask & kTaskScheduledScan;
  plan.deferred = mask & (kTaskUpdateWizard | kTaskRescueDisk | kTaskSafeBoot);
  return plan;
}
