// The file being installed: a temporary file beside it, then the move.
#include "target_file.h"

#include <windows.h>

#include "at_restart.h"
#include "replace_file.h"

bool target_may_be_replaced(const char* target) {
  const DWORD attributes = GetFileAttributesA(target);
  return attributes == 0xFFFFFFFF || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool put_in_place(const char* temp, const char* target) {
  // A read-only file can be neither deleted when set aside nor replaced at
  // the restart; an earlier copy from a CD leaves every file read-only.
  const DWORD attributes = GetFileAttributesA(target);
  const bool read_only = attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
  if (read_only && !SetFileAttributesA(target, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL)) {
    (void)DeleteFileA(temp);
    return false;
  }

  char aside[MAX_PATH];
  const Replacement replacement = replace_file(temp, target, aside);
  if (replacement == Replacement::kDone) {
    // The NT family lets a loaded image be renamed but not deleted; should
    // even the deletion at the restart fail, a stray CVSxxxx.TMP is all that
    // is left.
    if (aside[0] != '\0' && !DeleteFileA(aside)) (void)delete_at_restart(aside);
    return true;
  }
  if (replacement == Replacement::kInUse && replace_at_restart(temp, target)) return true;
  if (read_only) (void)SetFileAttributesA(aside[0] != '\0' ? aside : target, attributes);
  (void)DeleteFileA(temp);
  return false;
}
