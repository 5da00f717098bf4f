// The plain-text log of a setup run.
#include "shell/setup_log.h"

#include <windows.h>

namespace {

HANDLE g_log = INVALID_HANDLE_VALUE;

}  // namespace

bool OpenSetupLog(const Text& path) {
  CloseSetupLog();
  g_log = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  return g_log != INVALID_HANDLE_VALUE;
}

// Each line is written through at once: a run that is ended by force keeps
// what it logged.
void SetupLog(const Text& line) {
  if (g_log == INVALID_HANDLE_VALUE) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[24];
  wsprintfA(stamp, "%02u:%02u:%02u.%03u ", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  Text text = stamp + line + "\r\n";
  DWORD written;
  (void)WriteFile(g_log, text.data(), static_cast<DWORD>(text.size()), &written, NULL);
}

void CloseSetupLog() {
  if (g_log != INVALID_HANDLE_VALUE) CloseHandle(g_log);
  g_log = INVALID_HANDLE_VALUE;
}

int FinishSetupLog(int code) {
  char line[32];
  wsprintfA(line, "끝 코드 %d", code);
  SetupLog(line);
  CloseSetupLog();
  return code;
}
