// Stand-in for the deltree command of Windows 98 (Wine has none): records the
// command line it was started with and removes nothing, so that a test can
// check what SETUP.EXE asked to remove after a failed copy.
//
// Environment: CORVANE_DELTREE_LOG, a Windows path; one line per start.
#include <windows.h>

#include "../trace.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* command = GetCommandLineA();
  char line[1200];
  if (lstrlenA(command) < static_cast<int>(sizeof line) - 3) {
    wsprintfA(line, "%s\r\n", command);
  } else {
    lstrcpyA(line, "(too long)\r\n");
  }
  AppendTraceLine("CORVANE_DELTREE_LOG", line);
  return 0;
}
