// The uninstaller's hand-over to a copy of itself.
#include "product/unsetup/self_copy.h"

#include <windows.h>

#include "product/common/records.h"
#include "product/logic/hand_over.h"
#include "product/logic/product_paths.h"
#include "scan/scan_text.h"

namespace {

// Copies left by earlier runs wait for the next start of Windows; up to this
// many names are tried.
constexpr int kCopyNames = 100;
constexpr DWORD kOriginalEndWaitMs = 10000;

std::string TempFolder() {
  char temp[kPathSize] = "";
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length >= sizeof temp) return "";
  return temp;
}

bool StartCopy(const std::string& copy, const std::string& folder, const std::string& workFolder) {
  HandOver handOver = {GetCurrentProcessId(), folder};
  std::string command = HandOverCommandLine(copy, handOver);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  // The copy works from TEMP: a current folder inside the install folder
  // would keep it from being removed.
  if (!CreateProcessA(copy.c_str(), &command[0], NULL, NULL, FALSE, 0, NULL, workFolder.c_str(), &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

bool HandOverToCopy(const std::string& installFolder) {
  std::string temp = TempFolder();
  if (temp.empty() || !FolderExists(temp) || IsInsideFolder(temp, installFolder) || SamePath(temp, installFolder))
    return false;
  std::string own = OwnProgramPath();
  for (int n = 0; n < kCopyNames; ++n) {
    std::string copy = JoinPath(temp, CopyFileName(n));
    // A copy of an earlier run can go now, unless it is still running.
    (void)DeleteFileA(copy.c_str());
    if (!CopyFileA(own.c_str(), copy.c_str(), TRUE)) continue;
    if (StartCopy(copy, installFolder, temp)) return true;
    (void)DeleteFileA(copy.c_str());
    return false;
  }
  return false;
}

void WaitForOriginal(unsigned long processId) {
  HANDLE original = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!original) return;  // already gone
  (void)WaitForSingleObject(original, kOriginalEndWaitMs);
  CloseHandle(original);
}
