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

// Where the list comes from.  Windows 95, 98, Me and the NT family from 2000
// on have the toolhelp functions; Windows NT 4.0 has none, and there ntdll's
// process list serves.  Both are looked up at run time, so a program using
// this imports neither and loads on all of them.
enum class ProcessSource { Toolhelp, NtDll };

// Every process but this one: from the toolhelp functions where the system
// has them, else from ntdll's list.
List<RunningProgram> OtherRunningPrograms();
// The same from one source; empty where the system lacks it.
List<RunningProgram> OtherRunningPrograms(ProcessSource source);
