// Ends every running program of the recorded install folder, sparing setup
// programs, before the new installation starts; a record that the folder
// guard refuses ends nothing.
#include "install/install_records.h"
#include "install/stop_processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include "common/text.h"

#include "common/folder_guard.h"
#include "install/install_folder.h"
#include "install/process_match.h"

namespace {

constexpr int kTerminateAttempts = 20;
constexpr DWORD kTerminateWaitMs = 100;

// Windows 95/98 give the full program path in the process snapshot; the NT
// family and Wine give only the file name.  The first module of the process's
// own module snapshot has the full path on all of them.
Text ProgramPathOf(const PROCESSENTRY32& entry) {
  Text path = entry.szExeFile;
  if (path.find('\\') != Text::npos) return path;
  HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, entry.th32ProcessID);
  if (modules == INVALID_HANDLE_VALUE) return path;
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  if (Module32First(modules, &module)) path = module.szExePath;
  CloseHandle(modules);
  return path;
}

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
  // The match below is a substring test: a record of "C:\" or the Windows
  // folder would end every program of the PC, the shell included.
  if (!MayRemoveOrStopIn(folder, nullptr, nullptr)) return;
  Text recorded = UpperAscii(folder);

  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) continue;
    if (IsProductProcess(ProgramPathOf(entry), recorded)) StopProcess(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
}
