// Ends every running program of the recorded install folder, sparing setup
// programs, before the new installation starts; a record that the folder
// guard refuses ends nothing.
#include "install/stop_processes.h"

#include <windows.h>

#include "common/folder_guard.h"
#include "common/running_programs.h"
#include "common/text.h"
#include "install/install_folder.h"
#include "install/install_records.h"
#include "common/product_programs.h"

namespace {

constexpr int kTerminateAttempts = 20;
constexpr DWORD kTerminateWaitMs = 100;

// Up to 20 requests, 100 ms apart; the attempts end as soon as the process
// can no longer be opened, normally because it has ended.
void StopProcess(DWORD id) {
  for (int attempt = 0; attempt < kTerminateAttempts; ++attempt) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (!process) return;
    TerminateProcess(process, 0xFFFFFFFF);
    CloseHandle(process);
    Sleep(kTerminateWaitMs);
  }
}

}  // namespace

void StopProductProcesses() {
  char folder[kPathBufferSize];
  GetProfileStringA(kRecordSection, kInstallRecord, kDefaultInstallFolder, folder, sizeof folder);
  // A program runs from a file that is there: with no such folder (a first
  // install) there is nothing to end, and the list of every process, each
  // asked for its path, is not worth reading.
  if (KnownMissing(folder)) return;
  const ProductProgramMatch match(folder);
  const List<RunningProgram> programs = OtherRunningPrograms();
  bool anyMatches = false;
  for (const RunningProgram& program : programs) anyMatches = anyMatches || match.Matches(program.path);
  // A record of "C:\" or the Windows folder would end every program there,
  // the shell included.  The guard looks at the system's folders, so it is
  // asked only when something would end.
  if (!anyMatches || !MayRemoveOrStopIn(folder, nullptr, nullptr)) return;
  for (const RunningProgram& program : programs)
    if (match.Matches(program.path)) StopProcess(program.id);
}
