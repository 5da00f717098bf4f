// Install benchmark driver, run under Wine by run.sh: times setup's install
// job (the journal written ahead of every file, the real _SETUP.DLL making
// it, the commit) over every file of a medium's SETUP.INI, into an empty
// folder and into one that already holds every file (each old one is set
// aside first), a rollback of the whole product, a plain copy of the same
// files, SETUP.EXE /S as a whole process, and the silent install of two
// peer installers of the same files, solid zlib and solid LZMA (and of an
// empty one, which shows what starting a process costs); the processors the
// process may run on, and the memory that unpacking takes.  Prints figures
// only.
//
//   installbench MEDIUM_DIR PRODUCT_DIR PEER_EXE LZMA_PEER_EXE EMPTY_PEER_EXE TARGET_ROOT ROUNDS
#include <windows.h>
// After windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "initinstall.h"
#include "store_format.h"
#include "store_reader.h"
#define ZSTD_STATIC_LINKING_ONLY
#include <zstd.h>
#include "install/install_job.h"
#include "install/journal_writer.h"

namespace {

double NowSeconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == 0xFFFFFFFF) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") RemoveTree(path + "\\" + name);
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
  } else {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

// The SetupFiles names of the manifest, in order (plain entries only: the
// benchmark product goes into one folder).
std::vector<std::string> ManifestFiles(const std::string& ini) {
  std::vector<std::string> names;
  for (int n = 1;; ++n) {
    char key[16], value[600];
    wsprintfA(key, "SETUP%03d", n);
    GetPrivateProfileStringA("SetupFiles", key, "Error", value, sizeof value, ini.c_str());
    if (std::string(value) == "Error") break;
    names.push_back(value);
  }
  return names;
}

bool RunProcessCode(const std::string& commandLine, DWORD* code) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return false;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

double RunProcess(const std::string& commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  const double start = NowSeconds();
  if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = NowSeconds() - start;
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return seconds;
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (f == INVALID_HANDLE_VALUE) return "(missing)";
  bytes.resize(GetFileSize(f, NULL));
  DWORD got = 0;
  if (!bytes.empty()) ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &got, NULL);
  CloseHandle(f);
  bytes.resize(got);
  return bytes;
}

// The install job's file work over every file into `target`; the journal is
// committed, or (with `rollback`) rolled back and that timed on its own.
bool TimedJob(InitInstallFunction initInstall, const std::string& target, const std::vector<std::string>& files,
              double* job, double* rollback) {
  const double start = NowSeconds();
  JournalWriter journal;
  journal.Begin(target);
  journal.MakeFolder(target);
  // Journaled a group at a time, as the job journals them.
  for (size_t first = 0; first < files.size(); first += kEntriesPreparedTogether) {
    const size_t end = std::min(files.size(), first + kEntriesPreparedTogether);
    List<Text> group;
    for (size_t i = first; i < end; ++i) group.push_back((target + "\\" + files[i]).c_str());
    journal.PrepareFiles(group);
    for (size_t i = first; i < end; ++i) {
      if (!initInstall(target.c_str(), files[i].c_str())) {
        std::fprintf(stderr, "installbench: InitInstall failed for %s\n", files[i].c_str());
        return false;
      }
    }
  }
  if (rollback == nullptr) journal.Commit();
  *job = NowSeconds() - start;
  if (rollback != nullptr) {
    const double undo = NowSeconds();
    journal.RollBack(false);
    *rollback = NowSeconds() - undo;
  }
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double Least(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

double MedianOfRatios(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) ratios.push_back(a[i] / b[i]);
  return Median(ratios);
}

void PrintRatio(const char* what, const std::vector<double>& a, const std::vector<double>& b) {
  std::printf("%-30s%7.2f  %7.2f  %7.2f\n", what, Median(a) / Median(b), Least(a) / Least(b), MedianOfRatios(a, b));
}

void PrintTimes(const char* what, const std::vector<double>& v) {
  std::printf("%-30s%7.3f s  %7.3f s\n", what, Median(v), Least(v));
}

// The processors this process may run on: its affinity, which taskset sets
// (Wine's GetSystemInfo counts every processor of the machine).
int AffinityProcessors() {
  DWORD_PTR process = 0, system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) return 0;
  int count = 0;
  for (; process != 0; process &= process - 1) ++count;
  return count;
}

// The process's private bytes now.
double PrivateMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  // The commit charge of the process: its private bytes.
  return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

// The most any frame of the store asks of zstd's decoder, by zstd's own
// reckoning from the frame's header (its window and tables).
double DecoderMegabytes(const std::string& storePath) {
  const std::string store = FileBytes(storePath);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(store.data());
  payload::Header header;
  if (store.size() < payload::kHeaderSize ||
      payload::ParseHeader(bytes, static_cast<uint32_t>(store.size()), &header) != payload::Status::Ok ||
      payload::CheckDirectory(header, bytes + payload::kHeaderSize) != payload::Status::Ok) {
    return 0;
  }
  size_t most = 0;
  payload::DirectoryCursor cursor(header, bytes + payload::kHeaderSize);
  payload::Member m;
  while (cursor.Next(&m)) {
    if (m.method != payload::kMethodZstd) continue;
    const size_t size = ZSTD_estimateDStreamSize_fromFrame(bytes + m.offset, m.packedSize);
    if (!ZSTD_isError(size)) most = std::max(most, size);
  }
  return static_cast<double>(most) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) {
    std::fprintf(stderr,
                 "usage: installbench MEDIUM_DIR PRODUCT_DIR PEER_EXE LZMA_PEER_EXE EMPTY_PEER_EXE TARGET_ROOT ROUNDS\n");
    return 2;
  }
  const std::string medium = argv[1], product = argv[2], peer = argv[3], lzmaPeer = argv[4], emptyPeer = argv[5],
                    root = argv[6];
  const int rounds = std::max(1, std::atoi(argv[7]));
  // On a user's PC the desktop is up before any setup starts.  Wine starts
  // its desktop process for the first window of a session and ends it when
  // the session's last program ends, so without this every SETUP.EXE, whose
  // claim is a window, would pay for a desktop starting beside it.
  (void)GetDesktopWindow();
  const std::vector<std::string> files = ManifestFiles(medium + "\\SETUP.INI");

  const double beforeLibrary = PrivateMegabytes();
  HMODULE library = LoadLibraryA((medium + "\\_SETUP.DLL").c_str());
  const double loaded = PrivateMegabytes();
  double unpacking = 0;
  InitInstallFunction initInstall = library == NULL ? nullptr
                                                    : reinterpret_cast<InitInstallFunction>(reinterpret_cast<void*>(
                                                          GetProcAddress(library, CORVANE_INITINSTALL_EXPORT)));
  if (initInstall == nullptr || files.empty()) {
    std::fprintf(stderr, "installbench: no _SETUP.DLL with InitInstall or no files in %s\n", medium.c_str());
    return 1;
  }

  CreateDirectoryA(root.c_str(), NULL);
  std::vector<double> bare, ours, over, undo, copy, silent, peerTimes, lzmaTimes, emptyTimes;
  for (int round = 0; round < rounds; ++round) {
    const std::string target = root + "\\ours";
    RemoveTree(target);
    // The support library alone, without the job's journal.
    CreateDirectoryA(target.c_str(), NULL);
    double start = NowSeconds();
    for (const std::string& name : files) (void)initInstall(target.c_str(), name.c_str());
    bare.push_back(NowSeconds() - start);
    // What the library keeps from call to call is its whole working memory:
    // the threads it starts end inside each call.
    unpacking = std::max(unpacking, PrivateMegabytes() - loaded);
    RemoveTree(target);
    // The plain copy next to the job it is set against, as a shared
    // machine's speed drifts from minute to minute; each starts after a
    // folder of the product's files was deleted.
    const std::string copied = root + "\\copy";
    RemoveTree(copied);
    CreateDirectoryA(copied.c_str(), NULL);
    start = NowSeconds();
    for (const std::string& name : files) {
      if (!CopyFileA((product + "\\" + name).c_str(), (copied + "\\" + name).c_str(), FALSE)) {
        std::fprintf(stderr, "installbench: copy failed for %s\n", name.c_str());
        return 1;
      }
    }
    copy.push_back(NowSeconds() - start);
    RemoveTree(copied);
    double job = 0, rollback = 0;
    if (!TimedJob(initInstall, target, files, &job, nullptr)) return 1;
    ours.push_back(job);
    // A fast install of wrong bytes would be no figure at all.
    if (round == 0) {
      for (const std::string& name : files) {
        if (FileBytes(target + "\\" + name) != FileBytes(product + "\\" + name)) {
          std::fprintf(stderr, "installbench: %s differs from the product's file\n", name.c_str());
          return 1;
        }
      }
    }
    // Again over the installed product: every file is set aside first.
    if (!TimedJob(initInstall, target, files, &job, nullptr)) return 1;
    over.push_back(job);
    RemoveTree(target);
    // Into an empty folder once more, then undone.
    if (!TimedJob(initInstall, target, files, &job, &rollback)) return 1;
    undo.push_back(rollback);
    if (GetFileAttributesA(target.c_str()) != 0xFFFFFFFF) {
      std::fprintf(stderr, "installbench: the rollback left %s\n", target.c_str());
      return 1;
    }

    // SETUP.EXE /S as a whole process, as a deployment tool starts it.  The
    // record of the previous round goes first, or setup finds the product
    // installed.
    const std::string silentTarget = root + "\\silent";
    (void)WriteProfileStringA("Corvane", NULL, NULL);
    RemoveTree(silentTarget);
    const double silentStart = NowSeconds();
    DWORD code = 0;
    if (!RunProcessCode("\"" + medium + "\\SETUP.EXE\" /S /SCAN=SKIP /TASKS=00 /D=" + silentTarget, &code) || code != 0) {
      std::fprintf(stderr, "installbench: SETUP.EXE /S ended with %lu\n", code);
      return 1;
    }
    silent.push_back(NowSeconds() - silentStart);
    (void)WriteProfileStringA("Corvane", NULL, NULL);
    RemoveTree(silentTarget);

    const std::string peerTarget = root + "\\peer";
    RemoveTree(peerTarget);
    peerTimes.push_back(RunProcess("\"" + peer + "\" /S /D=" + peerTarget));
    RemoveTree(peerTarget);
    lzmaTimes.push_back(RunProcess("\"" + lzmaPeer + "\" /S /D=" + peerTarget));
    RemoveTree(peerTarget);
    emptyTimes.push_back(RunProcess("\"" + emptyPeer + "\" /S /D=" + peerTarget));
    RemoveTree(peerTarget);
  }
  FreeLibrary(library);
  RemoveDirectoryA(root.c_str());

  SYSTEM_INFO system;
  GetSystemInfo(&system);
  std::printf("processors: %d the process may run on (%lu in the machine)\n", AffinityProcessors(),
              static_cast<unsigned long>(system.dwNumberOfProcessors));
  std::printf("files: %u, rounds: %d (median, min)\n", static_cast<unsigned>(files.size()), rounds);
  PrintTimes("InitInstall alone, empty", bare);
  PrintTimes("install job, empty folder", ours);
  PrintTimes("install job, over every file", over);
  PrintTimes("rollback of the whole product", undo);
  PrintTimes("plain copy (CopyFileA)", copy);
  PrintTimes("SETUP.EXE /S, whole process", silent);
  PrintTimes("zlib peer, silent", peerTimes);
  PrintTimes("LZMA peer, silent", lzmaTimes);
  PrintTimes("  empty peer installer", emptyTimes);
  // Ratios of the medians, of the minimums and of each round's own: on a
  // shared machine a slow minute can move a median of five rounds, the
  // fastest round shows what the work itself takes, and the two sides of
  // one round ran at one speed of the machine.
  std::printf("ratios                        medians minimums  rounds\n");
  PrintRatio("job / plain copy", ours, copy);
  PrintRatio("SETUP.EXE /S / zlib peer", silent, peerTimes);
  PrintRatio("SETUP.EXE /S / LZMA peer", silent, lzmaTimes);
  std::printf("memory: the library loaded %+.1f MB, its unpacking %+.1f MB more (private bytes);\n"
              "        zstd's decoder for the store's largest window %.1f MB\n",
              loaded - beforeLibrary, unpacking, DecoderMegabytes(medium + "\\" + payload::kStoreFileName));
  return 0;
}
