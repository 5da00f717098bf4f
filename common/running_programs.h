// The programs running on this PC, as setup and the uninstaller look for the
// product's own before they replace or remove its files.
#pragma once
#include <windows.h>

#include "common/list.h"
#include "common/text.h"

struct RunningProgram {
  DWORD id;
  Text path;  // the program file's full path where the system tells it
};

// Every process but this one.  The toolhelp functions are looked up, so that
// a program using this still loads on Windows NT 4, which has none: there the
// list is empty.
List<RunningProgram> OtherRunningPrograms();
