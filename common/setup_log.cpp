// The plain-text log of a setup run.
#include "common/setup_log.h"

#include <windows.h>

namespace {

// Null while there is no log: a zero-filled variable takes no room in the
// program file.
HANDLE g_log = NULL;

}  // namespace

bool OpenSetupLog(const Text& path) {
  CloseSetupLog();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            NULL);
  g_log = file == INVALID_HANDLE_VALUE ? NULL : file;
  return g_log != NULL;
}

// Each line is written through at once: a run that is ended by force keeps
// what it logged.
void SetupLog(const Text& line) {
  if (!g_log) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[24];
  wsprintfA(stamp, "%02u:%02u:%02u.%03u ", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  Text text = stamp + line + "\r\n";
  DWORD written;
  (void)WriteFile(g_log, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
}

void CloseSetupLog() {
  if (g_log) CloseHandle(g_log);
  g_log = NULL;
}

int FinishSetupLog(int code) {
  char line[32];
  wsprintfA(line, "끝 코드 %d", code);
  SetupLog(line);
  CloseSetupLog();
  return code;
}
