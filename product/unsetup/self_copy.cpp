// The uninstaller's hand-over to a copy of itself.
#include "product/unsetup/self_copy.h"

#include <windows.h>

#include "common/disk_ops.h"
#include "product/common/records.h"
#include "product/logic/hand_over.h"
#include "product/logic/product_paths.h"
#include "common/path_text.h"

namespace {

// Copies left by earlier runs wait for the next start of Windows; up to this
// many names are tried.
constexpr int kCopyNames = 100;
constexpr DWORD kOriginalEndWaitMs = 10000;

Text TempFolder() {
  char temp[kPathBufferSize] = "";
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length >= sizeof temp) return "";
  return temp;
}

bool StartCopy(const Text& copy, const HandOver& handOver, const Text& workFolder) {
  Text command = HandOverCommandLine(copy, handOver);
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

// Copies this program into TEMP under a free name and starts the copy.
bool StartCopyInTemp(const HandOver& handOver, const Text& keepOutOf) {
  Text temp = TempFolder();
  if (temp.empty() || !FolderExists(temp) || IsInsideFolder(temp, keepOutOf) || SamePath(temp, keepOutOf))
    return false;
  Text own = OwnProgramPath();
  for (int n = 0; n < kCopyNames; ++n) {
    Text copy = JoinPath(temp, CopyFileName(n));
    // A copy of an earlier run can go now, unless it is still running.
    (void)ops::Delete(copy.c_str());
    if (!ops::Copy(own.c_str(), copy.c_str(), true)) continue;
    if (StartCopy(copy, handOver, temp)) return true;
    (void)ops::Delete(copy.c_str());
    return false;
  }
  return false;
}

}  // namespace

bool HandOverCleanup(const Text& ownFile, const Text& madeAbove) {
  HandOver handOver = {GetCurrentProcessId(), ownFile, true, madeAbove};
  return StartCopyInTemp(handOver, FolderOf(ownFile));
}

bool HandOverToCopy(const Text& installFolder) {
  HandOver handOver = {GetCurrentProcessId(), installFolder, false};
  return StartCopyInTemp(handOver, installFolder);
}

void WaitForOriginal(unsigned long processId) {
  HANDLE original = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!original) return;  // already gone
  (void)WaitForSingleObject(original, kOriginalEndWaitMs);
  CloseHandle(original);
}
