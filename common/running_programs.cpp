// The running programs, through the toolhelp functions looked up at run time.
#include "common/running_programs.h"

#include <tlhelp32.h>

namespace {

typedef HANDLE(WINAPI* SnapshotProc)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkProc)(HANDLE, PROCESSENTRY32*);
typedef BOOL(WINAPI* ModuleWalkProc)(HANDLE, MODULEENTRY32*);

struct Toolhelp {
  SnapshotProc snapshot;
  ProcessWalkProc first;
  ProcessWalkProc next;
  ModuleWalkProc firstModule;
};

template <typename Proc>
Proc Lookup(HMODULE kernel, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

bool LoadToolhelp(Toolhelp* toolhelp) {
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (!kernel) return false;
  toolhelp->snapshot = Lookup<SnapshotProc>(kernel, "CreateToolhelp32Snapshot");
  toolhelp->first = Lookup<ProcessWalkProc>(kernel, "Process32First");
  toolhelp->next = Lookup<ProcessWalkProc>(kernel, "Process32Next");
  toolhelp->firstModule = Lookup<ModuleWalkProc>(kernel, "Module32First");
  return toolhelp->snapshot && toolhelp->first && toolhelp->next && toolhelp->firstModule;
}

// Windows 95/98 give the full program path in the process snapshot; the NT
// family and Wine give only the file name, and the process's first module
// has the full path on all of them.
Text ProgramPathOf(const Toolhelp& toolhelp, const PROCESSENTRY32& entry) {
  Text path = entry.szExeFile;
  if (path.find('\\') != Text::npos) return path;
  HANDLE modules = toolhelp.snapshot(TH32CS_SNAPMODULE, entry.th32ProcessID);
  if (modules == INVALID_HANDLE_VALUE) return path;
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  if (toolhelp.firstModule(modules, &module)) path = module.szExePath;
  CloseHandle(modules);
  return path;
}

}  // namespace

List<RunningProgram> OtherRunningPrograms() {
  List<RunningProgram> programs;
  Toolhelp toolhelp;
  if (!LoadToolhelp(&toolhelp)) return programs;
  HANDLE snapshot = toolhelp.snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return programs;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = toolhelp.first(snapshot, &entry); more; more = toolhelp.next(snapshot, &entry)) {
    if (entry.th32ProcessID != GetCurrentProcessId())
      programs.push_back(RunningProgram{entry.th32ProcessID, ProgramPathOf(toolhelp, entry)});
  }
  CloseHandle(snapshot);
  return programs;
}
