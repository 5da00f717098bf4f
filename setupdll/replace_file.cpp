// Replacing a file through a temporary file beside it.
#include "replace_file.h"

#include "common/disk_ops.h"

#include "initinstall.h"
#include "names.h"

namespace {

const int kTempAttempts = 1000;

// Where the search for a free temporary name starts; a different place in
// each process, like GetTempFileNameA's.
DWORD g_nextTempNumber;

// The next CVSxxxx.TMP name to try, with the number in four hex digits: in
// the folder place, or, when beside is set, beside the file place.
bool NextTempPath(const char* place, bool beside, char* path) {
  static const char kDigits[] = "0123456789ABCDEF";
  if (g_nextTempNumber == 0) g_nextTempNumber = GetTickCount() ^ (GetCurrentProcessId() << 8);
  const DWORD number = g_nextTempNumber++;
  char name[] = CORVANE_INITINSTALL_TEMP_NAME;
  for (int i = 0; i < 4; ++i) name[3 + i] = kDigits[(number >> (12 - 4 * i)) & 0xF];
  return beside ? payload::SiblingPath(path, MAX_PATH, place, name) : payload::JoinPath(path, MAX_PATH, place, name);
}

bool MeansTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// What a rename or delete reports for a file that a process has open or loaded.
bool MeansInUse(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Renames path to a free name beside it; the error of the failed rename goes
// to error. A taken name is skipped before the rename is tried: DOS's rename,
// which Windows 95 uses on FAT, reports a taken name as access denied, which
// would read as a file in use.
bool SetAside(const char* path, char* aside, DWORD* error) {
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    if (!NextTempPath(path, true, aside)) break;
    if (GetFileAttributesA(aside) != 0xFFFFFFFF) continue;
    if (ops::Move(path, aside)) return true;
    *error = GetLastError();
    if (!MeansTaken(*error)) break;
  }
  aside[0] = '\0';
  return false;
}

}  // namespace

HANDLE CreateTempFile(const char* folder, char* temp) {
  // Named the way GetTempFileNameA names them, but made by one CREATE_NEW
  // open instead of GetTempFileNameA's create and a second open: half the
  // file system calls.
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    if (!NextTempPath(folder, false, temp)) break;
    HANDLE file =
        ops::OpenForWriting(temp, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (file != INVALID_HANDLE_VALUE) return file;
    if (!MeansTaken(GetLastError())) break;
  }
  temp[0] = '\0';
  return INVALID_HANDLE_VALUE;
}

Replacement ReplaceTargetFile(const char* fresh, const char* target, char* aside) {
  aside[0] = '\0';
  if (GetFileAttributesA(target) != 0xFFFFFFFF) {
    DWORD error = ERROR_FILE_NOT_FOUND;
    if (!SetAside(target, aside, &error)) return MeansInUse(error) ? Replacement::InUse : Replacement::Failed;
  }
  if (ops::Move(fresh, target)) return Replacement::Done;
  if (aside[0] != '\0' && ops::Move(aside, target)) aside[0] = '\0';
  return Replacement::Failed;
}
