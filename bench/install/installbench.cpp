// Install benchmark driver, run under Wine by run.sh: times setup's install
// job (the journal written ahead of every file, the real _SETUP.DLL making
// it, the commit) over every file of a medium's SETUP.INI, into an empty
// folder and into one that already holds every file (each old one is set
// aside first), a rollback of the whole product, a plain copy of the same
// files, SETUP.EXE /S as a whole process, and the silent install of a peer
// installer of the same files (and of an empty one, which shows what
// starting a process costs).  Prints
// figures only.
//
//   installbench MEDIUM_DIR PRODUCT_DIR PEER_EXE EMPTY_PEER_EXE TARGET_ROOT ROUNDS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "initinstall.h"
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
  for (const std::string& name : files) {
    journal.PrepareFile(target + "\\" + name);
    if (!initInstall(target.c_str(), name.c_str())) {
      std::fprintf(stderr, "installbench: InitInstall failed for %s\n", name.c_str());
      return false;
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: installbench MEDIUM_DIR PRODUCT_DIR PEER_EXE EMPTY_PEER_EXE TARGET_ROOT ROUNDS\n");
    return 2;
  }
  const std::string medium = argv[1], product = argv[2], peer = argv[3], emptyPeer = argv[4], root = argv[5];
  const int rounds = std::max(1, std::atoi(argv[6]));
  const std::vector<std::string> files = ManifestFiles(medium + "\\SETUP.INI");

  HMODULE library = LoadLibraryA((medium + "\\_SETUP.DLL").c_str());
  InitInstallFunction initInstall = library == NULL ? nullptr
                                                    : reinterpret_cast<InitInstallFunction>(reinterpret_cast<void*>(
                                                          GetProcAddress(library, CORVANE_INITINSTALL_EXPORT)));
  if (initInstall == nullptr || files.empty()) {
    std::fprintf(stderr, "installbench: no _SETUP.DLL with InitInstall or no files in %s\n", medium.c_str());
    return 1;
  }

  CreateDirectoryA(root.c_str(), NULL);
  std::vector<double> bare, ours, over, undo, copy, silent, peerTimes, emptyTimes;
  for (int round = 0; round < rounds; ++round) {
    const std::string target = root + "\\ours";
    RemoveTree(target);
    // The support library alone, without the job's journal.
    CreateDirectoryA(target.c_str(), NULL);
    double start = NowSeconds();
    for (const std::string& name : files) (void)initInstall(target.c_str(), name.c_str());
    bare.push_back(NowSeconds() - start);
    RemoveTree(target);
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
    emptyTimes.push_back(RunProcess("\"" + emptyPeer + "\" /S /D=" + peerTarget));
    RemoveTree(peerTarget);
  }
  FreeLibrary(library);
  RemoveDirectoryA(root.c_str());

  std::printf("files: %u, rounds: %d (median, min)\n", static_cast<unsigned>(files.size()), rounds);
  std::printf("InitInstall alone, empty      %7.3f s  %7.3f s\n", Median(bare), *std::min_element(bare.begin(), bare.end()));
  std::printf("install job, empty folder      %7.3f s  %7.3f s\n", Median(ours), *std::min_element(ours.begin(), ours.end()));
  std::printf("install job, over every file  %7.3f s  %7.3f s\n", Median(over), *std::min_element(over.begin(), over.end()));
  std::printf("rollback of the whole product %7.3f s  %7.3f s\n", Median(undo), *std::min_element(undo.begin(), undo.end()));
  std::printf("plain copy (CopyFileA)        %7.3f s  %7.3f s\n", Median(copy), *std::min_element(copy.begin(), copy.end()));
  std::printf("SETUP.EXE /S, whole process   %7.3f s  %7.3f s\n", Median(silent), *std::min_element(silent.begin(), silent.end()));
  std::printf("peer installer, silent        %7.3f s  %7.3f s\n", Median(peerTimes),
              *std::min_element(peerTimes.begin(), peerTimes.end()));
  std::printf("  empty peer installer        %7.3f s  %7.3f s\n", Median(emptyTimes),
              *std::min_element(emptyTimes.begin(), emptyTimes.end()));
  std::printf("job / peer                    %7.2f\n", Median(ours) / Median(peerTimes));
  std::printf("SETUP.EXE /S / peer           %7.2f\n", Median(silent) / Median(peerTimes));
  return 0;
}
