// Starting SETUP.EXE, and the places of the test bench.
#include "setup_process.h"

#include <tlhelp32.h>

#include "check.h"
#include "install/run_lock.h"
#include "support/files.h"
#include "support/ui.h"

namespace {

BenchPaths MakeBench() {
  BenchPaths bench;
  bench.medium = machine::Environment("CORVANE_E2E_MEDIUM");
  if (bench.medium.empty()) bench.medium = "C:\\CD";
  bench.home = machine::Environment("CORVANE_E2E_HOME");
  if (bench.home.empty()) bench.home = "C:\\e2e";
  std::string logs = bench.home + "\\logs";
  bench.setupdllLog = logs + "\\setupdll.log";
  bench.setupdllLoadLog = logs + "\\setupdll-load.log";
  bench.engineLog = logs + "\\engine.log";
  bench.engineLoadLog = logs + "\\engine-load.log";
  bench.deltreeLog = logs + "\\deltree.log";
  bench.isdelLog = logs + "\\isdel.log";
  bench.noinitDll = bench.home + "\\doubles\\noinit\\_SETUP.DLL";
  bench.realIsdel = bench.home + "\\real\\_ISDEL.EXE";
  return bench;
}

BenchPaths& MutableBench() {
  static BenchPaths bench = MakeBench();
  return bench;
}

// Started as Explorer starts a program: by its full path, from another folder.
Launch FromSetupFolder(const std::string& medium) {
  Launch launch;
  launch.commandLine = "\"" + medium + "\\SETUP.EXE\"";
  launch.folder = machine::WindowsFolder();
  return launch;
}

}  // namespace

const BenchPaths& Bench() { return MutableBench(); }

bool MoveMedium(const std::string& folder) {
  if (!MoveFileA(Bench().medium.c_str(), folder.c_str())) return false;
  MutableBench().medium = folder;
  return true;
}

bool MediumHas(const char* name) { return machine::Exists(Bench().medium + "\\" + name); }

void SetChildEnvironment(const char* name, const char* value) { SetEnvironmentVariableA(name, value); }

void PrepareBench() {
  const BenchPaths& bench = Bench();
  machine::MakeFolders(bench.home + "\\logs");
  const std::pair<const char*, const std::string*> logs[] = {
      {"CORVANE_SETUPDLL_LOG", &bench.setupdllLog},
      {"CORVANE_SETUPDLL_LOAD_LOG", &bench.setupdllLoadLog},
      {"CORVANE_ENGINE_LOG", &bench.engineLog},
      {"CORVANE_ENGINE_LOAD_LOG", &bench.engineLoadLog},
      {"CORVANE_DELTREE_LOG", &bench.deltreeLog},
      {"CORVANE_ISDEL_LOG", &bench.isdelLog},
  };
  for (const auto& log : logs) {
    DeleteFileA(log.second->c_str());
    SetChildEnvironment(log.first, log.second->c_str());
  }
}

Launch FromExplorer() { return FromSetupFolder(Bench().medium); }

Launch FromRealMedium() { return FromSetupFolder(kRealMedium); }

Launch FromAutorun() {
  const std::string root = std::string(kDisc) + "\\";
  char open[MAX_PATH] = "";
  GetPrivateProfileStringA("autorun", "open", "", open, sizeof open, (root + "AUTORUN.INF").c_str());
  if (!open[0]) Abort("%sAUTORUN.INF has no open= line", root.c_str());
  Launch launch;
  launch.application = root + open;
  launch.commandLine = open;
  launch.folder = root;
  return launch;
}

void RequireDisc() {
  const std::string setup = machine::Join(kDisc, "SETUP.EXE");
  if (!machine::Exists(setup)) Skip("no disc in D: (xorriso, mkmedium or the real _SETUP.DLL is missing)");
  if (GetDriveTypeA("D:\\") != DRIVE_CDROM) Abort("D: is not a CD-ROM drive (type %u)", GetDriveTypeA("D:\\"));
  const DWORD attributes = GetFileAttributesA(setup.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) {
    Abort("%s is not read-only", setup.c_str());
  }
}

DiscState ReadDiscState() {
  DiscState state;
  machine::WalkTree(kDisc, [&](const std::string& path, bool isFolder) {
    state[path] = isFolder ? machine::FileState{true, "", GetFileAttributesA(path.c_str()), {}} : machine::StateOf(path);
  });
  return state;
}

SetupProcess::SetupProcess(const Launch& launch) {
  started_ = GetTickCount();
  if (!process_.Start(launch)) {
    Abort("cannot start %s (error %lu)", Show(launch.commandLine).c_str(), GetLastError());
  }
  ui::Watch(Pid());
  Note("started SETUP.EXE as %s in %s, pid %lu",
       Show(launch.commandLine.size() > 120 ? launch.commandLine.substr(0, 120) + "..." : launch.commandLine)
           .c_str(),
       Show(launch.folder).c_str(), Pid());
}

SetupProcess::~SetupProcess() {
  if (Running()) Note("ending pid %lu by force", Pid());
}

bool SetupProcess::ExpectEnd(unsigned timeoutMs, const char* after) {
  DWORD code = 0;
  if (!WaitEnd(timeoutMs, &code)) {
    Fail("SETUP.EXE still runs %u ms after %s; on screen:%s", timeoutMs, after, DescribeScreen().c_str());
    process_.End();
    return false;
  }
  if (code != 0) {
    Fail("SETUP.EXE ended after %s with exit code 0x%lX, expected 0", after, code);
    return false;
  }
  Note("SETUP.EXE (pid %lu) ended with exit code 0", Pid());
  return true;
}

void SetupProcess::ExpectNoWindow(const char* who, const std::set<HWND>& before) const {
  for (const ui::WindowRecord& record : ui::Seen(Pid())) {
    if (record.firstVisible == ui::WindowRecord::kNever || before.count(record.hwnd)) continue;
    Fail("%s: %s %s came on screen", who, record.className.c_str(), Show(record.title).c_str());
  }
}

std::string CurrentFolderOf(HANDLE process) {
  struct BasicInformation {
    LONG exitStatus;
    ULONG_PTR peb;
    ULONG_PTR affinity;
    LONG priority;
    ULONG_PTR pid;
    ULONG_PTR parent;
  };
  using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  BasicInformation basic{};
  if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0) return "";
  // 32-bit layout: PEB+0x10 points at the process parameters, whose current
  // directory (a UNICODE_STRING) starts at +0x24.
  ULONG_PTR parameters = 0;
  struct {
    USHORT length, maximum;
    ULONG_PTR buffer;
  } folder{};
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(basic.peb + 0x10), &parameters, sizeof parameters, &got) ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(parameters + 0x24), &folder, sizeof folder, &got)) {
    return "";
  }
  std::wstring wide(folder.length / 2, L'\0');
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(folder.buffer), &wide[0], folder.length, &got)) return "";
  if (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
  int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(length, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0], length, nullptr, nullptr);
  return out;
}

std::vector<std::string> LibraryEvents(const std::string& log, DWORD pid) {
  std::vector<std::string> events;
  for (const std::string& line : machine::Lines(log)) {
    std::vector<std::string> parts = text::Split(line, " ");
    if (parts.size() >= 2 && parts[1] == std::to_string(pid)) events.push_back(line);
  }
  return events;
}

std::vector<InstallCall> InstallCalls() {
  std::vector<InstallCall> calls;
  for (const std::string& line : machine::Lines(Bench().setupdllLog)) {
    std::vector<std::string> parts = text::Split(line, "\t");
    if (parts.size() == 4) calls.push_back({parts[1], parts[2], parts[3]});
  }
  return calls;
}

std::string DescribeScreen() {
  std::string out;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  if (snapshot != INVALID_HANDLE_VALUE && Process32First(snapshot, &entry)) {
    do {
      std::string windows = ui::Describe(entry.th32ProcessID);
      if (windows.find("(no visible window)") != std::string::npos) continue;
      out += Format("\n  %s (pid %lu):", entry.szExeFile, entry.th32ProcessID) + windows;
    } while (Process32Next(snapshot, &entry));
  }
  if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
  return out.empty() ? std::string(" nothing") : out;
}

HeldRunLock::HeldRunLock() : mutex_(CreateMutexA(nullptr, TRUE, kRunLockName)) {
  if (!mutex_ || GetLastError() == ERROR_ALREADY_EXISTS) Abort("the driver cannot take the run lock: it is there already, or no mutex could be made");
}

HeldRunLock::~HeldRunLock() {
  ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}
