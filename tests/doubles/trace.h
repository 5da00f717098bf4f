// Appending one line to a log file named by an environment variable: how the
// doubles tell the end-to-end driver what SETUP.EXE asked of them.
#pragma once

#include <windows.h>

// Appends `line` (no line break added) to the file whose Windows path is in
// the environment variable `envName`; does nothing when the variable is unset.
// The file is opened and closed per line and shared for reading and writing,
// so the driver can read it while SETUP.EXE is still running.
inline void AppendTraceLine(const char* envName, const char* line) {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(envName, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written;
  (void)WriteFile(file, line, lstrlenA(line), &written, nullptr);
  CloseHandle(file);
}

// Reads a whole number from an environment variable; `fallback` when unset.
inline long TraceEnvNumber(const char* envName, long fallback) {
  char text[32];
  DWORD n = GetEnvironmentVariableA(envName, text, sizeof text);
  if (n == 0 || n >= sizeof text) return fallback;
  long value = 0;
  for (const char* p = text; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
  return value;
}

// Records the loading and unloading of a double library as
// "load <pid> <module path>", "free <pid> <module path>" (FreeLibrary) or
// "exit <pid> <module path>" (unloaded by the ending process), so that a test
// can tell which copy of the library a process loaded and whether it released it.
inline void TraceModuleEvent(const char* envName, HINSTANCE module, DWORD reason, LPVOID reserved) {
  const char* what = nullptr;
  if (reason == DLL_PROCESS_ATTACH) what = "load";
  else if (reason == DLL_PROCESS_DETACH) what = reserved ? "exit" : "free";
  if (!what) return;
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(module, path, sizeof path);
  if (n == 0 || n >= sizeof path) path[0] = '\0';
  char line[MAX_PATH + 64];
  wsprintfA(line, "%s %lu %s\r\n", what, GetCurrentProcessId(), path);
  AppendTraceLine(envName, line);
}
