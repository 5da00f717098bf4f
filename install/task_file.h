// Setup.run, the file in the install folder that carries the follow-up task
// byte from setup to _ISDEL.EXE: its name, its one byte's bits, and the
// writer that setup's finish page and silent install share.
#pragma once
#include "common/text.h"

inline constexpr char kTaskFileName[] = "Setup.run";

// One bit per follow-up task; bits 5 to 7 are never set.
enum : unsigned char {
  kTaskRunProduct = 0x01,     // run Corvane
  kTaskScheduledScan = 0x02,  // run the scheduled scan
  kTaskUpdateWizard = 0x04,
  kTaskRescueDisk = 0x08,
  kTaskSafeBoot = 0x10,
};
inline constexpr unsigned char kEveryTask =
    kTaskRunProduct | kTaskScheduledScan | kTaskUpdateWizard | kTaskRescueDisk | kTaskSafeBoot;

// Path of the hand-off file: "<install folder>\Setup.run".
Text SetupRunPath(const Text& installFolder);

// Setup.run holding the task byte in the install folder, then _ISDEL.EXE
// started from the setup folder, not awaited (Win32 only).
void HandOffTasks(const Text& installFolder, unsigned char tasks);
