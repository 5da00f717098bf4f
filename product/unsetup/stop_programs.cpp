// Ends the product's programs that still run from the install folder.
#include "product/unsetup/stop_programs.h"

#include <windows.h>

#include "common/folder_guard.h"
#include "common/running_programs.h"
#include "common/product_programs.h"

namespace {

// Waits for the end, so that the program's file is free when the removal
// reaches it.
void EndProcess(DWORD id) {
  constexpr DWORD kEndWaitMs = 3000;
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
  if (!process) return;
  if (TerminateProcess(process, 0xFFFFFFFF)) (void)WaitForSingleObject(process, kEndWaitMs);
  CloseHandle(process);
}

}  // namespace

void StopProgramsIn(const Text& folder) {
  Text longFolder;
  if (!MayRemoveOrStopIn(folder, &longFolder, nullptr)) return;
  const ProductProgramMatch match(longFolder);
  for (const RunningProgram& program : OtherRunningPrograms())
    if (match.Matches(program.path)) EndProcess(program.id);
}
