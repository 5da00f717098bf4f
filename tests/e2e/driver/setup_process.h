// Starting SETUP.EXE the ways a user can, and the places of the test bench:
// the setup medium and the logs the doubles write.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/processes.h"

// Where things are in the test prefix.  The runner script lays out the medium
// and the doubles and names the folders in the environment.
struct BenchPaths {
  std::string medium;           // the setup folder: SETUP.EXE, SETUP.INI, _SETUP.DLL, ...
  std::string home;             // the bench's own folder: logs\, doubles\, shots
  std::string setupdllLog;     // InitInstall calls of the _SETUP.DLL double
  std::string setupdllLoadLog;
  std::string engineLog;       // calls into the Corvane.dll double
  std::string engineLoadLog;
  std::string deltreeLog;      // command lines of the deltree double
  std::string isdelLog;        // starts of the _ISDEL.EXE double
  std::string noinitDll;       // the _SETUP.DLL without InitInstall
  std::string realIsdel;       // the real _ISDEL.EXE, when it was built
};
const BenchPaths& Bench();
// Moves the medium to another folder of the prefix, for the rest of the scenario.
bool MoveMedium(const std::string& folder);
// Points the doubles at their logs (through the environment that SETUP.EXE
// inherits from the driver) and clears the logs.
void PrepareBench();
// Whether the medium holds a file (MemChk.exe is there only when built).
bool MediumHas(const char* name);
// Sets or clears (null) one environment variable for the programs started next.
void SetChildEnvironment(const char* name, const char* value);

// run-scenario.sh lays out a second, real medium here when mkmedium and the
// real _SETUP.DLL were built: mkmedium's SETUP.INI and payload store and the
// real programs.
inline constexpr char kRealMedium[] = "C:\\realcd";

// For the scenarios named disc_*, run-scenario.sh lays out mkmedium's disc
// image of the real medium as this drive: a CD-ROM whose files are read-only.
inline constexpr char kDisc[] = "D:";
// Skips the scenario when there is no disc (xorriso, mkmedium or the real
// library was not built), and checks that the drive is what a disc is.
void RequireDisc();
// Every file and folder on the disc as it is now.
using DiscState = std::map<std::string, machine::FileState>;
DiscState ReadDiscState();

// How SETUP.EXE is started.
using Launch = machine::Launch;
// Started as Explorer would: the full path, from another folder.
Launch FromExplorer();
Launch FromRealMedium();
// As the shell starts AUTORUN.INF's open= command: the program found in the
// disc's root, which is its current folder, and the command as written.
Launch FromAutorun();

class SetupProcess {
 public:
  explicit SetupProcess(const Launch& launch);
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  DWORD Pid() const { return process_.Id(); }
  HANDLE Handle() const { return process_.Handle(); }
  // GetTickCount at the start, as ui::WindowRecord's times.
  unsigned long Started() const { return started_; }
  bool Running() const { return process_.Running(); }
  // Waits for the end; false on timeout.  `code` gets the exit code.
  bool WaitEnd(unsigned timeoutMs, DWORD* code) const { return process_.WaitEnd(timeoutMs, code); }
  // The program must end within the time with exit code 0; on a timeout it
  // is ended by force so that the scenario can go on.
  bool ExpectEnd(unsigned timeoutMs, const char* after);
  // No window of the program came on screen, other than those of `before`.
  void ExpectNoWindow(const char* who, const std::set<HWND>& before = {}) const;

 private:
  machine::Process process_;
  unsigned long started_ = 0;
};

// The run lock of a setup or an uninstaller at work (install/run_lock.h),
// held by the driver while this lives.
class HeldRunLock {
 public:
  HeldRunLock();
  ~HeldRunLock();
  HeldRunLock(const HeldRunLock&) = delete;
  HeldRunLock& operator=(const HeldRunLock&) = delete;

 private:
  HANDLE mutex_;
};

// The current folder of another process, read from its process parameters
// (the layout that Wine shares with Windows NT), without a trailing backslash
// except at a drive root.  Empty when it cannot be read.
std::string CurrentFolderOf(HANDLE process);

// Lines of the _SETUP.DLL double's load log for one process ("load", "free", "exit").
std::vector<std::string> LibraryEvents(const std::string& log, DWORD pid);
// The InitInstall calls logged so far: each {folder, name, result}.
struct InstallCall {
  std::string folder, name, result;
};
std::vector<InstallCall> InstallCalls();

// Every visible window on the virtual desktop, for failure reports.
std::string DescribeScreen();
