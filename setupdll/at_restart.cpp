// Renames and deletions at the next start of Windows.
#include "at_restart.h"

#include <windows.h>

#include "wininit_file.h"

namespace {

bool is_windows_9x() { return (GetVersion() & 0x80000000) != 0; }

// Windows 95 has no working MoveFileExA, so it is looked up, not imported;
// only the NT family comes here. A null target deletes source.
bool move_file_ex_at_restart(const char* source, const char* target) {
  typedef BOOL(WINAPI * MoveFileExFunction)(LPCSTR, LPCSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (kernel == NULL) return false;
  MoveFileExFunction move_file_ex =
      reinterpret_cast<MoveFileExFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")));
  const DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT | (target != NULL ? MOVEFILE_REPLACE_EXISTING : 0);
  return move_file_ex != NULL && move_file_ex(source, target, flags) != FALSE;
}

}  // namespace

bool replace_at_restart(const char* source, const char* target) {
  if (!is_windows_9x()) return move_file_ex_at_restart(source, target);
  char short_source[MAX_PATH];
  char short_target[MAX_PATH];
  return wininit::short_path(source, short_source, sizeof short_source) &&
         wininit::short_path(target, short_target, sizeof short_target) &&
         wininit::schedule_rename(short_target, short_source);
}

bool delete_at_restart(const char* path) {
  if (!is_windows_9x()) return move_file_ex_at_restart(path, NULL);
  char short_path[MAX_PATH];
  return wininit::short_path(path, short_path, sizeof short_path) && wininit::schedule_delete(short_path);
}
