// The file being installed: a temporary file beside it, then the move.
#include "target_file.h"

#include "common/disk_ops.h"

#include <windows.h>

#include "at_restart.h"
#include "replace_file.h"

bool TargetMayBeReplaced(DWORD attributes) {
  return attributes == 0xFFFFFFFF || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PutInPlace(const char* temp, const char* target) {
  // A read-only file can be neither deleted when set aside nor replaced at
  // the restart; an earlier copy from a CD leaves every file read-only.
  const DWORD attributes = GetFileAttributesA(target);
  const bool readOnly = attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
  if (readOnly && !ops::SetAttributes(target, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL)) {
    (void)ops::Delete(temp);
    return false;
  }

  char aside[MAX_PATH];
  const Replacement replacement = ReplaceTargetFile(temp, target, aside);
  if (replacement == Replacement::Done) {
    // The NT family lets a loaded image be renamed but not deleted; should
    // even the deletion at the restart fail, a stray CVSxxxx.TMP is all that
    // is left.
    if (aside[0] != '\0' && !ops::Delete(aside)) (void)DeleteAtRestart(aside);
    return true;
  }
  if (replacement == Replacement::InUse && ReplaceAtRestart(temp, target)) return true;
  if (readOnly) (void)ops::SetAttributes(aside[0] != '\0' ? aside : target, attributes);
  (void)ops::Delete(temp);
  return false;
}
