// The file being installed: a temporary file beside it, then the move.
#include "target_file.h"

#include "names.h"

namespace {

const char kWininitName[] = "WININIT.INI";
const int kTempAttempts = 1000;

// Where the search for a free temporary name starts; a different place in
// each process, like GetTempFileNameA's.
DWORD g_next_temp_number;

// "CVSxxxx.TMP" with the number in four hex digits.
void temp_file_name(char* name, WORD number) {
  static const char kDigits[] = "0123456789ABCDEF";
  const char* const kPattern = "CVS0000.TMP";
  for (int i = 0; i < 12; ++i) name[i] = kPattern[i];
  for (int i = 0; i < 4; ++i) name[3 + i] = kDigits[(number >> (12 - 4 * i)) & 0xF];
}

bool is_windows_9x() { return (GetVersion() & 0x80000000) != 0; }

// What DeleteFileA reports for a file that a process has open or loaded.
bool means_in_use(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

// Windows 95/98 carry out WININIT.INI's [rename] lines in real mode before
// Windows starts, where only short names exist; each line is
// "target=source", and the profile functions write it.
bool rename_through_wininit(const char* temp, const char* target) {
  char short_temp[MAX_PATH];
  char short_target[MAX_PATH];
  char windows[MAX_PATH];
  char wininit[MAX_PATH];
  const DWORD temp_length = GetShortPathNameA(temp, short_temp, sizeof short_temp);
  const DWORD target_length = GetShortPathNameA(target, short_target, sizeof short_target);
  const UINT windows_length = GetWindowsDirectoryA(windows, sizeof windows);
  if (temp_length == 0 || temp_length >= sizeof short_temp || target_length == 0 ||
      target_length >= sizeof short_target || windows_length == 0 || windows_length >= sizeof windows) {
    return false;
  }
  if (!payload::join_path(wininit, sizeof wininit, windows, kWininitName)) return false;
  if (!WritePrivateProfileStringA("rename", short_target, short_temp, wininit)) return false;
  // Windows 9x caches profile files; this writes the cache out now.
  (void)WritePrivateProfileStringA(NULL, NULL, NULL, wininit);
  return true;
}

// Windows 95 has no working MoveFileExA, so it is looked up, not imported.
bool rename_through_movefileex(const char* temp, const char* target) {
  typedef BOOL(WINAPI * MoveFileExFunction)(LPCSTR, LPCSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (kernel == NULL) return false;
  MoveFileExFunction move_file_ex =
      reinterpret_cast<MoveFileExFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")));
  return move_file_ex != NULL &&
         move_file_ex(temp, target, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool replace_at_restart(const char* temp, const char* target) {
  return is_windows_9x() ? rename_through_wininit(temp, target) : rename_through_movefileex(temp, target);
}

}  // namespace

bool target_may_be_replaced(const char* target) {
  const DWORD attributes = GetFileAttributesA(target);
  if (attributes == 0xFFFFFFFF) return true;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

HANDLE create_temp_file(const char* folder, char* temp) {
  // Named the way GetTempFileNameA names them (CVSxxxx.TMP, a short name as
  // WININIT.INI needs), but made by one CREATE_NEW open instead of
  // GetTempFileNameA's create and a second open: half the file system calls.
  if (g_next_temp_number == 0) g_next_temp_number = GetTickCount() ^ (GetCurrentProcessId() << 8);
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    char name[sizeof "CVSxxxx.TMP"];
    temp_file_name(name, static_cast<WORD>(g_next_temp_number++));
    if (!payload::join_path(temp, MAX_PATH, folder, name)) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  temp[0] = '\0';
  return INVALID_HANDLE_VALUE;
}

bool put_in_place(const char* temp, const char* target) {
  if (GetFileAttributesA(target) != 0xFFFFFFFF && !DeleteFileA(target)) {
    if (means_in_use(GetLastError()) && replace_at_restart(temp, target)) return true;
    (void)DeleteFileA(temp);
    return false;
  }
  // Windows 9x has no rename that replaces, hence delete, then move.
  if (MoveFileA(temp, target)) return true;
  (void)DeleteFileA(temp);
  return false;
}
