// The running programs, through the toolhelp functions or, on Windows NT 4.0,
// ntdll's process list, each looked up at run time.
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

List<RunningProgram> ToolhelpPrograms() {
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

// ---- Windows NT 4.0: ntdll's process list

typedef LONG(WINAPI* QuerySystemProc)(ULONG, void*, ULONG, ULONG*);
typedef LONG(WINAPI* QueryProcessProc)(HANDLE, ULONG, void*, ULONG, ULONG*);
typedef BOOL(WINAPI* ReadMemoryProc)(HANDLE, const void*, void*, SIZE_T, SIZE_T*);

struct NtProcessList {
  QuerySystemProc querySystem;
  QueryProcessProc queryProcess;
  ReadMemoryProc read;
};

constexpr ULONG kSystemProcessInformation = 5;
constexpr ULONG kProcessBasicInformation = 0;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
// The list grows by doubling up to this; a PC of its day has a few dozen processes.
constexpr ULONG kLargestList = 4u << 20;
// SYSTEM_PROCESS_INFORMATION of a 32-bit process, the same from NT 4.0 on:
// the next entry's distance, the image name (a counted UTF-16 string whose
// buffer lies in the list) and the process id.
constexpr size_t kNextEntryAt = 0, kImageNameAt = 56, kProcessIdAt = 68, kEntrySize = 72;
// PROCESS_BASIC_INFORMATION holds the PEB's address second; the PEB points
// to the process parameters, whose ImagePathName is the program's full path.
constexpr size_t kPebParametersAt = 0x10, kImagePathAt = 0x38;

struct CountedWide {
  USHORT length;  // in bytes
  USHORT maximum;
  const WCHAR* buffer;
};

bool LoadNtProcessList(NtProcessList* nt) {
  HMODULE ntdll = GetModuleHandleA("NTDLL.DLL");
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  if (!ntdll || !kernel) return false;
  nt->querySystem = Lookup<QuerySystemProc>(ntdll, "NtQuerySystemInformation");
  nt->queryProcess = Lookup<QueryProcessProc>(ntdll, "NtQueryInformationProcess");
  nt->read = Lookup<ReadMemoryProc>(kernel, "ReadProcessMemory");
  return nt->querySystem && nt->queryProcess && nt->read;
}

Text Narrow(const WCHAR* wide, size_t units) {
  char narrow[2 * MAX_PATH];
  if (units == 0 || units > MAX_PATH) return Text();
  const int length = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(units), narrow, sizeof narrow, nullptr, nullptr);
  return length > 0 ? Text(narrow, static_cast<size_t>(length)) : Text();
}

// The full program path from the process's parameters; empty when the
// process may not be read.
Text ImagePathOf(const NtProcessList& nt, DWORD id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
  if (!process) return Text();
  ULONG_PTR basic[6] = {};
  ULONG_PTR parameters = 0;
  CountedWide image = {};
  WCHAR wide[MAX_PATH];
  Text path;
  if (nt.queryProcess(process, kProcessBasicInformation, basic, sizeof basic, nullptr) >= 0 &&
      nt.read(process, reinterpret_cast<const void*>(basic[1] + kPebParametersAt), &parameters, sizeof parameters,
              nullptr) &&
      nt.read(process, reinterpret_cast<const void*>(parameters + kImagePathAt), &image, sizeof image, nullptr) &&
      image.length <= sizeof wide && nt.read(process, image.buffer, wide, image.length, nullptr)) {
    path = Narrow(wide, image.length / sizeof(WCHAR));
  }
  CloseHandle(process);
  return path;
}

List<RunningProgram> NtDllPrograms() {
  List<RunningProgram> programs;
  NtProcessList nt;
  if (!LoadNtProcessList(&nt)) return programs;
  HANDLE heap = GetProcessHeap();
  BYTE* list = nullptr;
  ULONG size = 64u << 10;
  for (;;) {
    list = static_cast<BYTE*>(HeapAlloc(heap, 0, size));
    if (!list) return programs;
    const LONG status = nt.querySystem(kSystemProcessInformation, list, size, nullptr);
    if (status >= 0) break;
    HeapFree(heap, 0, list);
    if (status != kInfoLengthMismatch || size >= kLargestList) return programs;
    size *= 2;
  }
  for (ULONG at = 0; at + kEntrySize <= size;) {
    const BYTE* entry = list + at;
    DWORD id = 0;
    CountedWide name = {};
    CopyMemory(&id, entry + kProcessIdAt, sizeof id);
    CopyMemory(&name, entry + kImageNameAt, sizeof name);
    // The first entry is the idle process, id 0, without a program.
    if (id != 0 && id != GetCurrentProcessId()) {
      Text path = ImagePathOf(nt, id);
      const BYTE* nameAt = reinterpret_cast<const BYTE*>(name.buffer);
      if (path.empty() && nameAt >= list && nameAt + name.length <= list + size) {
        path = Narrow(name.buffer, name.length / sizeof(WCHAR));
      }
      programs.push_back(RunningProgram{id, path});
    }
    ULONG next = 0;
    CopyMemory(&next, entry + kNextEntryAt, sizeof next);
    if (next == 0) break;
    at += next;
  }
  HeapFree(heap, 0, list);
  return programs;
}

}  // namespace

List<RunningProgram> OtherRunningPrograms(ProcessSource source) {
  return source == ProcessSource::Toolhelp ? ToolhelpPrograms() : NtDllPrograms();
}

List<RunningProgram> OtherRunningPrograms() {
  Toolhelp toolhelp;
  return OtherRunningPrograms(LoadToolhelp(&toolhelp) ? ProcessSource::Toolhelp : ProcessSource::NtDll);
}
