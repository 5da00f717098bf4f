// Deleting a file at the next start of Windows.
#include "product/unsetup/restart_delete.h"

#include <windows.h>

#include "product/common/records.h"
#include "product/logic/wininit.h"
#include "scan/scan_text.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string* content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0) content->append(chunk, got);
  CloseHandle(file);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, NULL);
  CloseHandle(file);
  return ok && written == content.size();
}

// Windows 95/98 carry out WININIT.INI's [rename] section once, in real mode,
// before Windows itself starts: hence the short name.
bool DeleteThroughWininit(const std::string& path) {
  char shortPath[kPathSize];
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (length == 0 || length >= sizeof shortPath) return false;
  std::string wininit = JoinPath(WindowsFolder(), "WININIT.INI");
  std::string content;
  (void)ReadWholeFile(wininit, &content);  // absent is the usual case
  return WriteWholeFile(wininit, AddDeleteAtRestart(content, shortPath));
}

// Looked up rather than imported: only the NT family has a working
// MoveFileExA, and only the NT family comes here.
bool DeleteThroughMoveFileEx(const std::string& path) {
  typedef BOOL(WINAPI * MoveFileExProc)(LPCSTR, LPCSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  MoveFileExProc moveFileEx =
      kernel ? reinterpret_cast<MoveFileExProc>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA"))) : NULL;
  return moveFileEx && moveFileEx(path.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

bool DeleteAtRestart(const std::string& path) {
  // The high bit of GetVersion marks the Windows 95 family.
  if (GetVersion() & 0x80000000) return DeleteThroughWininit(path);
  return DeleteThroughMoveFileEx(path);
}
