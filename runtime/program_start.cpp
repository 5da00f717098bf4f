// Entry point of the shipped programs: what the loader calls instead of a C
// runtime's start-up.  It builds the static objects, hands WinMain the
// command line after the program's own name, and ends the process with
// WinMain's result.
#include <windows.h>

#include "runtime/static_objects.h"

namespace {

// The arguments after the program's name, which is quoted when it holds
// blanks, as the C runtime gives them to WinMain.
char* ArgumentsOf(char* line) {
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

}  // namespace

// The loader calls this with a stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup() {
  RunStaticConstructors();
  STARTUPINFOA startup;
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), show);
  RunExitFunctions();
  ExitProcess(static_cast<UINT>(result));
}
