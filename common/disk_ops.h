// The one way setup, its support library and the uninstaller change the PC:
// files, folders, win.ini, WININIT.INI, renames at the next start and the
// registry.  Each call is one operation, numbered in one sequence per
// process (the support library's calls count in setup's sequence).
//
// The shipping build calls Windows directly.  The test build can also stop
// the process dead at operation k, or fail operation k as a full disk or a
// denied access would, and list every operation with its number, so that a
// test can stop a run at each point where it changes the PC.  The settings
// come from the environment:
//   CORVANE_FAULT       "stop:K", "full:K" or "deny:K"
//   CORVANE_FAULT_LIST  a file that receives one line per operation
// A stopped process is not a power cut: what it wrote before it stopped
// stays in the system's cache and reaches the disk.  The programs that a
// process starts run without its plan.
#pragma once
#include <windows.h>

namespace ops {

// The exit code of a process stopped at its operation k.
constexpr UINT kStoppedExitCode = 0x5709;

// CreateFileA of a file to write: made, opened for writing or emptied.
HANDLE OpenForWriting(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// WriteFile of all of `size` bytes; false when fewer were written.
bool Write(HANDLE file, const void* bytes, DWORD size);
bool Flush(HANDLE file);
bool Move(const char* from, const char* to);
bool Copy(const char* from, const char* to, bool failIfExists);
bool Delete(const char* path);
bool SetAttributes(const char* path, DWORD attributes);
bool MakeFolder(const char* path);
bool RemoveFolder(const char* path);
// win.ini; a null key deletes the section, a null value the key.
bool WriteProfile(const char* section, const char* key, const char* value);
// Any other profile file, WININIT.INI among them.
bool WritePrivateProfile(const char* section, const char* key, const char* value, const char* file);
LONG CreateKey(HKEY root, const char* key, REGSAM access, HKEY* opened);
LONG SetString(HKEY key, const char* name, const char* data);
LONG SetNumber(HKEY key, const char* name, DWORD data);
LONG DeleteValue(HKEY key, const char* name);
LONG DeleteKey(HKEY root, const char* key);
// A change that goes through another interface (a shell link saved through
// COM, MoveFileExA looked up at run time): counted, and may be stopped or
// failed, like the others; the caller makes it only when this says true.
bool Other(const char* what, const char* path);

}  // namespace ops
