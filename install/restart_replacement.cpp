// Withdrawing a restart replacement of the support library.
#include "install/restart_replacement.h"

#include <windows.h>

#include "common/disk_ops.h"
#include "setupdll/wininit_file.h"

void WithdrawRestartReplacement(const Text& path) {
  // On the NT family the library used MoveFileExA: nothing is in WININIT.INI,
  // and the rollback's removal of the library's temporary files leaves that
  // rename without a source, so it does nothing.
  char target[MAX_PATH], source[MAX_PATH];
  if (!wininit::ShortPath(path.c_str(), target, sizeof target)) return;
  if (!wininit::FindRename(target, source, sizeof source)) return;
  // The new file goes first: stopped in between, the line is left naming a
  // file that is not there, which the restart passes over and the next
  // rollback withdraws; the other way round, the new file would be left
  // with nothing to say it was the run's.
  (void)ops::SetAttributes(source, FILE_ATTRIBUTE_NORMAL);
  (void)ops::Delete(source);
  (void)wininit::WithdrawRename(target, source, sizeof source);
}
