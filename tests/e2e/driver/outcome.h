// What a run of setup leaves on the machine, for the test medium's manifest
// (tests/e2e/medium/SETUP.INI): the InitInstall calls, the installed files,
// Setup.run, the win.ini records, the shortcuts and the uninstall entry.
#pragma once

#include <string>
#include <vector>

#include "setup_process.h"

// Where setup's shell registration goes: the Programs folder of the shell's
// folders, the program group in it, the Start menu above it, the main
// shortcut there and the scheduled scan's in the Start-up folder.
std::string ProgramsFolder();
std::string GroupFolder();
std::string StartMenuFolder();
std::string MainLink();
std::string ScheduleLink();

// The state every scenario starts from, beyond the fresh prefix: a few files
// in the folders that the scan reads, and the file that the manifest's
// skipped entry finds already in place.
void PrepareMachine();

// The calls that the manifest asks of InitInstall, in order, for an install folder.
std::vector<InstallCall> ExpectedInstallCalls(const std::string& installFolder);
// The paths the copy page shows, one per manifest entry.
std::vector<std::string> ExpectedCopyLines(const std::string& installFolder);

// A complete setup: every file installed, the shell registration done, and
// Setup.run holding `taskMask`.
void ExpectInstalled(const std::string& installFolder, int taskMask);
// Setup ended before the copy page: no file, no record, no Setup.run.
void ExpectNothingInstalled();
// No shell registration: no group, no shortcuts, no win.ini records, no uninstall entry.
void ExpectNotRegistered();
// The shell registration for the install folder.
void ExpectRegistered(const std::string& installFolder);
// Setup.run in the install folder holds exactly one byte, `taskMask`.
void ExpectSetupRun(const std::string& installFolder, int taskMask);
void ExpectNoSetupRun(const std::string& installFolder);

// The finish page started the follow-up program once, as ".\_ISDEL.EXE" from
// the setup folder with SW_SHOW, after Setup.run was complete.
void ExpectFollowUpStarted(int taskMask);
void ExpectNoFollowUp();

// MemChk.exe, when the medium has it, records the memory in win.ini when it
// runs: a sign that setup started it from the setup folder.
bool WaitForMemoryCheck(unsigned timeoutMs);

// The texts that the confirmation page must show for an install folder.
std::string ExpectedSummary(const std::string& installFolder);
