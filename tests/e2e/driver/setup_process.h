// Starting SETUP.EXE the ways a user can, and the places of the test bench:
// the setup medium and the logs the doubles write.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Where things are in the test prefix.  The runner script lays out the medium
// and the doubles and names the folders in the environment.
struct BenchPaths {
  std::string medium;           // the setup folder: SETUP.EXE, SETUP.INI, _SETUP.DLL, ...
  std::string home;             // the bench's own folder: logs\, doubles\, shots
  std::string setupdll_log;     // InitInstall calls of the _SETUP.DLL double
  std::string setupdll_load_log;
  std::string engine_log;       // calls into the Corvane.dll double
  std::string engine_load_log;
  std::string deltree_log;      // command lines of the deltree double
  std::string isdel_log;        // starts of the _ISDEL.EXE double
  std::string noinit_dll;       // the _SETUP.DLL without InitInstall
  std::string real_isdel;       // the real _ISDEL.EXE, when it was built
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

// How SETUP.EXE is started.
struct Launch {
  std::string application;   // CreateProcess's program argument; empty: from the command line
  std::string command_line;  // what the program sees as its command line
  std::string folder;        // current folder of the new process
};
// Started as Explorer would: the full path, from another folder.
Launch FromExplorer();

class SetupProcess {
 public:
  explicit SetupProcess(const Launch& launch);
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_; }
  unsigned long started() const { return started_; }
  bool Running() const;
  // Waits for the end; false on timeout.  `code` gets the exit code.
  bool WaitEnd(unsigned timeout_ms, DWORD* code) const;
  // The program must end within the time with exit code 0; on a timeout it
  // is ended by force so that the scenario can go on.
  bool ExpectEnd(unsigned timeout_ms, const char* after);

 private:
  DWORD pid_ = 0;
  HANDLE process_ = nullptr;
  unsigned long started_ = 0;
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
