// Ends the product's programs that still run from the install folder.
#include "product/unsetup/stop_programs.h"

#include <windows.h>

#include "common/folder_guard.h"
#include "common/path_text.h"
#include "common/running_programs.h"
#include "install/process_match.h"

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

// Windows 95/98 give a program's path in the form it was started with: long,
// 8.3, or a mix of both.  The trailing backslashes keep a sibling such as
// ...\Corvane2 out.
bool RunsFrom(const Text& programPath, const Text& longInside, const Text& shortInside) {
  // Made full, a bare file name would be taken for one in the current folder.
  Text longPath =
      IsAbsolutePath(CanonicalPathText(programPath)) ? SystemPathForms(programPath).longForm : programPath;
  return IsProductProcess(longPath, longInside) || IsProductProcess(programPath, longInside) ||
         IsProductProcess(programPath, shortInside);
}

}  // namespace

void StopProgramsIn(const Text& folder) {
  Text longFolder;
  if (!MayRemoveOrStopIn(folder, &longFolder, nullptr)) return;
  Text shortFolder = SystemPathForms(longFolder).shortForm;
  Text longInside = longFolder + "\\";
  Text shortInside = shortFolder.empty() ? "" : shortFolder + "\\";
  for (const RunningProgram& program : OtherRunningPrograms())
    if (RunsFrom(program.path, longInside, shortInside)) EndProcess(program.id);
}
