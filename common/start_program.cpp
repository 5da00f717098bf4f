// Starting a program without waiting for it.
#include "common/start_program.h"

#include <windows.h>

#include "common/text.h"

bool StartProgram(const char* commandLine, int show) {
  // CreateProcess may write into the command line.
  Text line(commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process;
  if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
