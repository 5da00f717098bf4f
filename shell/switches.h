// SETUP.EXE's command line for unattended installs, without Win32.
//
//   /S                 silent: no window, no question, no wait
//   /D=folder          the install folder, absolute, used as given; the rest
//                      of the line, unquoted, so it comes last
//   /NAME="..."        the user's name        (default: the registry's DefName)
//   /COMPANY="..."     the user's company     (default: DefCompany)
//   /SCAN=SKIP|REPORT|REPAIR|DELETE           (default: REPAIR)
//   /TASKS=hh          the follow-up task byte (default: every task)
//   /LOG=file          a plain-text log, with or without /S
//   /?                 a box that lists the switches
//
// Switch names in any letter case and any order, separated by blanks; a
// value with blanks in double quotes.
#pragma once
#include "common/text.h"

enum class ScanMode { Skip, Report, Repair, Delete };

struct SetupSwitches {
  bool silent = false;
  bool help = false;
  bool folderGiven = false;
  Text folder;
  bool nameGiven = false, companyGiven = false;
  Text name, company;
  ScanMode scan = ScanMode::Repair;
  bool tasksGiven = false;
  unsigned char tasks = 0;
  Text log;
  // Empty when the line is understood; else what is wrong, for the log.
  Text error;
};

// The longest values that setup's buffers take, terminator not counted.
constexpr size_t kSwitchFolderMax = 259;
constexpr size_t kSwitchEntryMax = 255;
constexpr size_t kSwitchLogMax = 259;

// Reads the switches of the arguments after the program's name, as WinMain
// receives them.
SetupSwitches ParseSwitches(const char* arguments);

// The text of the /? box, the result codes' list at its end.
Text SwitchesHelpText();
