// Ends the product's programs that still run from the install folder.
#include "product/unsetup/stop_programs.h"

#include <windows.h>
#include <tlhelp32.h>

#include "common/folder_guard.h"
#include "common/path_text.h"
#include "install/process_match.h"

namespace {

// Windows NT 4 has no toolhelp functions: they are looked up, so that the
// uninstaller still loads there (and simply ends nothing).
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
  Toolhelp toolhelp;
  if (!LoadToolhelp(&toolhelp)) return;
  Text shortFolder = SystemPathForms(longFolder).shortForm;
  Text longInside = longFolder + "\\";
  Text shortInside = shortFolder.empty() ? "" : shortFolder + "\\";
  HANDLE snapshot = toolhelp.snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = toolhelp.first(snapshot, &entry); more; more = toolhelp.next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) continue;
    if (RunsFrom(ProgramPathOf(toolhelp, entry), longInside, shortInside)) EndProcess(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
}
