// Withdrawing a restart replacement of the support library.
#include "install/restart_replacement.h"

#include <windows.h>

#include "setupdll/wininit_file.h"

void WithdrawRestartReplacement(const Text& path) {
  // On the NT family the library used MoveFileExA: nothing is in WININIT.INI,
  // and the rollback's removal of the library's temporary files leaves that
  // rename without a source, so it does nothing.
  char target[MAX_PATH], source[MAX_PATH];
  if (!wininit::ShortPath(path.c_str(), target, sizeof target)) return;
  if (wininit::WithdrawRename(target, source, sizeof source) != wininit::Withdrawal::Withdrawn) return;
  // A replacement that never comes: its new file goes.
  (void)SetFileAttributesA(source, FILE_ATTRIBUTE_NORMAL);
  (void)DeleteFileA(source);
}
