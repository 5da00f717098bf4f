// The running programs, through the toolhelp functions looked up at run time.
#include "common/running_programs.h"

#include <tlhelp32.h>

namespace {

typedef HANDLE(WINAPI* SnapshotProc)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkProc)(HANDLE, PROCESSENTRY32*);
typedef BOOL(WINAPI* ModuleWalkProc)(HANDLE, MODULEENTRY32*);
typedef BOOL(WINAPI* ImageNameProc)(HANDLE, DWORD, LPSTR, PDWORD);

struct Toolhelp {
  SnapshotProc snapshot;
  ProcessWalkProc first;
  ProcessWalkProc next;
  ModuleWalkProc firstModule;
  ImageNameProc imageName;  // Windows Vista and later
};

// OpenProcess's right for the image name on Vista and later.
constexpr DWORD kQueryLimitedInformation = 0x1000;

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
  toolhelp->imageName = Lookup<ImageNameProc>(kernel, "QueryFullProcessImageNameA");
  return toolhelp->snapshot && toolhelp->first && toolhelp->next && toolhelp->firstModule;
}

// Windows 95/98 give the full program path in the process snapshot; the NT
// family and Wine give only the file name.  Vista and later name the image
// at one call; the process's first module has the full path on all of them,
// at the cost of a look into the process's memory.
Text ProgramPathOf(const Toolhelp& toolhelp, const PROCESSENTRY32& entry) {
  Text path = entry.szExeFile;
  if (path.find('\\') != Text::npos) return path;
  if (toolhelp.imageName) {
    HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, entry.th32ProcessID);
    if (process) {
      char image[MAX_PATH];
      DWORD length = sizeof image;
      const BOOL named = toolhelp.imageName(process, 0, image, &length);
      CloseHandle(process);
      if (named && length > 0 && length < sizeof image) return Text(image, length);
    }
  }
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
