// Test double of the installer support library _SETUP.DLL: its InitInstall
// makes an empty file instead of unpacking a product file, logs every call,
// and can be told to fail one call.
//
// Environment (Windows paths):
//   CORVANE_SETUPDLL_LOG       one line per call: "<n>\t<folder>\t<name>\t<result>\r\n"
//   CORVANE_SETUPDLL_LOAD_LOG  load/free/exit lines (see trace.h)
//   CORVANE_SETUPDLL_FAIL_AT   the 1-based number of the call that returns 0
//   CORVANE_SETUPDLL_DELAY_MS  time each call takes, to give a test time to
//                              act while the copy page runs
#include <windows.h>

#include "../trace.h"

namespace {

long g_calls = 0;  // InitInstall runs on SETUP.EXE's one thread only

// Replaces folder\name by an empty file.  The old file is deleted first: in a
// test prefix the system folders are hard links to a shared template, and
// truncating one in place would change the template too.
bool MakeEmptyFile(const char* folder, const char* name) {
  char path[2 * MAX_PATH + 2];
  if (lstrlenA(folder) + lstrlenA(name) + 2 > static_cast<int>(sizeof path)) return false;
  lstrcpyA(path, folder);
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  (void)DeleteFileA(path);  // usually absent
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

extern "C" int WINAPI InitInstall(const char* folder, const char* name) {
  long n = ++g_calls;
  long delay = TraceEnvNumber("CORVANE_SETUPDLL_DELAY_MS", 0);
  if (delay > 0) Sleep(static_cast<DWORD>(delay));
  // A file that cannot be made is a failure, as the real library reports it.
  int result = 0;
  if (n != TraceEnvNumber("CORVANE_SETUPDLL_FAIL_AT", 0)) result = MakeEmptyFile(folder, name) ? 1 : 0;
  char line[3 * MAX_PATH];
  if (lstrlenA(folder) + lstrlenA(name) < 2 * MAX_PATH) {
    wsprintfA(line, "%ld\t%s\t%s\t%d\r\n", n, folder, name, result);
  } else {
    wsprintfA(line, "%ld\t(too long)\t(too long)\t%d\r\n", n, result);
  }
  AppendTraceLine("CORVANE_SETUPDLL_LOG", line);
  return result;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  TraceModuleEvent("CORVANE_SETUPDLL_LOAD_LOG", module, reason, reserved);
  return TRUE;
}
