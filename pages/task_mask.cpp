// The task page's check boxes and the task byte's bits.
#include "pages/task_mask.h"

#include "install/task_file.h"

namespace {

const unsigned char kBoxBits[kTaskCount] = {kTaskSafeBoot, kTaskRescueDisk, kTaskUpdateWizard, kTaskScheduledScan,
                                            kTaskRunProduct};

}  // namespace

unsigned char TaskBit(int i) { return i >= 0 && i < kTaskCount ? kBoxBits[i] : 0; }
