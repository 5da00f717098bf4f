// Renames and deletions at the next start of Windows.
#include "at_restart.h"

#include "common/disk_ops.h"

#include <windows.h>

#include "wininit_file.h"

namespace {

bool IsWindows9x() { return (GetVersion() & 0x80000000) != 0; }

// Windows 95 has no working MoveFileExA, so it is looked up, not imported;
// only the NT family comes here. A null target deletes source.
bool MoveFileExAtRestart(const char* source, const char* target) {
  typedef BOOL(WINAPI * MoveFileExFunction)(LPCSTR, LPCSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (kernel == NULL) return false;
  MoveFileExFunction moveFileEx =
      reinterpret_cast<MoveFileExFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")));
  const DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT | (target != NULL ? MOVEFILE_REPLACE_EXISTING : 0);
  return moveFileEx != NULL && ops::Other("move at restart", source) && moveFileEx(source, target, flags) != FALSE;
}

}  // namespace

bool ReplaceAtRestart(const char* source, const char* target) {
  if (!IsWindows9x()) return MoveFileExAtRestart(source, target);
  char shortSource[MAX_PATH];
  char shortTarget[MAX_PATH];
  return wininit::ShortPath(source, shortSource, sizeof shortSource) &&
         wininit::ShortPath(target, shortTarget, sizeof shortTarget) &&
         wininit::ScheduleRename(shortTarget, shortSource);
}

bool DeleteAtRestart(const char* path) {
  if (!IsWindows9x()) return MoveFileExAtRestart(path, NULL);
  char shortPath[MAX_PATH];
  return wininit::ShortPath(path, shortPath, sizeof shortPath) && wininit::ScheduleDelete(shortPath);
}
