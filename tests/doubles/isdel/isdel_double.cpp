// Test double of the follow-up program _ISDEL.EXE: records how setup started
// it and what Setup.run held at that moment, and leaves the file alone, so
// that a test can check both after setup has ended.
//
// Environment: CORVANE_ISDEL_LOG, a Windows path; one line per start:
//   "<command line>\t<current folder>\t<show command>\t<Setup.run bytes in hex, or none>"
// Setup.run is looked for where the real program looks: in the folder that
// win.ini's [Corvane] Install names.
#include <windows.h>

#include "../trace.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char folder[MAX_PATH];
  GetProfileStringA("Corvane", "Install", "C:\\Program Files\\Corvane", folder, MAX_PATH - 16);
  char path[MAX_PATH];
  wsprintfA(path, "%s\\Setup.run", folder);
  char content[3 * 16 + 8] = "none";
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    unsigned char bytes[16];
    DWORD got = 0;
    (void)ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    content[0] = '\0';
    for (DWORD i = 0; i < got; ++i) wsprintfA(content + lstrlenA(content), i ? " %02X" : "%02X", bytes[i]);
  }
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const char* command = GetCommandLineA();
  if (lstrlenA(command) > 400) command = "(too long)";
  char line[400 + 3 * MAX_PATH];
  wsprintfA(line, "%s\t%s\t%d\t%s\r\n", command, current, show, content);
  AppendTraceLine("CORVANE_ISDEL_LOG", line);
  return 0;
}
