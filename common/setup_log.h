// The plain-text log that /LOG asks for: one line per step, in the ANSI code
// page (a Korean Notepad opens it).  Every call does nothing while no log is
// open, so the install job, the scan and the registration log as they go.
#pragma once
#include "common/text.h"

// Starts the log (replacing an older file); false when it cannot be made.
bool OpenSetupLog(const Text& path);
void SetupLog(const Text& line);
void CloseSetupLog();
// Logs an unattended run's result code, closes the log, and returns the code.
int FinishSetupLog(int code);
