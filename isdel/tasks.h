// What a Setup.run byte asks for, without Win32.
#pragma once
#include <stddef.h>

#include "install/task_file.h"

struct TaskPlan {
  bool valid;                // exactly one byte, bits 5 to 7 clear
  bool runProduct;           // start CV32W.EXE
  bool runScheduledScan;     // start Schedule.EXE
  unsigned char deferred;    // tasks the product offers itself at its next start
};

// Reads the content of Setup.run.  Anything but one byte with only the five
// task bits is not a task file of ours: nothing is done with it.
TaskPlan PlanTasks(const unsigned char* content, size_t size);
