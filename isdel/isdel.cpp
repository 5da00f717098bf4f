// _ISDEL.EXE: carries out the follow-up tasks that setup leaves in
// Setup.run in the install folder, then removes the file.
//
// The programs that a task names are started from the install folder.  The
// tasks that need the product's own dialogs (update wizard, rescue disk, safe
// start-up) are recorded in win.ini for the product to offer at its next
// start.  A missing folder or file, a byte that is not a task byte, or a
// recorded folder that the folder guard refuses, does nothing.
#include <windows.h>

#include "common/bounded_text.h"
#include "common/text.h"

#include "common/folder_guard.h"
#include "install/install_records.h"
#include "install/install_folder.h"
#include "install/task_file.h"
#include "tasks.h"

namespace {

Text InstallFolder() {
  char folder[kPathBufferSize];
  GetProfileStringA(kRecordSection, kInstallRecord, kDefaultInstallFolder, folder, sizeof folder);
  return folder;
}

// Reads at most two bytes: one is a task file, more is not.
size_t ReadTaskFile(const Text& path, unsigned char* content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  DWORD n = 0;
  if (!ReadFile(file, content, 2, &n, NULL)) n = 0;
  CloseHandle(file);
  return n;
}

void StartFromFolder(const Text& folder, const char* program) {
  Text path = folder + "\\" + program;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  Text command = "\"" + path + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

void RecordDeferred(unsigned char deferred) {
  Text value = DecimalText(deferred);
  (void)WriteProfileStringA(kRecordSection, kPendingTasksRecord, deferred ? value.c_str() : NULL);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Text folder = InstallFolder();
  if (!MayRemoveOrStopIn(folder, nullptr, nullptr)) return 0;
  Text taskFile = SetupRunPath(folder);
  unsigned char content[2];
  TaskPlan plan = PlanTasks(content, ReadTaskFile(taskFile, content));
  if (!plan.valid) return 0;

  RecordDeferred(plan.deferred);
  if (plan.runScheduledScan) StartFromFolder(folder, kScheduleProgram);
  if (plan.runProduct) StartFromFolder(folder, kMainProgram);
  (void)DeleteFileA(taskFile.c_str());
  return 0;
}
