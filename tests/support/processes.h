// Programs the tests start: how, waiting for their end, and ending them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace machine {

struct Launch {
  std::string application;   // CreateProcess's program argument; empty: from the command line
  std::string commandLine;  // what the program sees as its command line
  std::string folder;        // current folder of the new process; empty: ours
  int show = -1;             // a SW_ value it gets through STARTF_USESHOWWINDOW; -1: none
  // Its standard input, which ends after this text (standard output and
  // error stay ours); none: it inherits ours.
  std::optional<std::string> input;
};

// A started program; one that still runs when this goes is ended.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Start(const Launch& launch);
  bool Start(const std::string& commandLine, const std::string& folder = "");
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Running() const;
  // False when it has not ended within the time; its exit code goes to `code`.
  bool WaitEnd(DWORD timeoutMs, DWORD* code = nullptr) const;
  // Ends it by force, exit code 1, and waits for that.
  void End();

 private:
  PROCESS_INFORMATION info_ = {};
};

// What RunToEnd gives for a program that did not start or did not end.
constexpr DWORD kNoExitCode = 0xDEAD;
// Starts a program and waits for its end: its exit code.  One still running
// after the time is ended.
DWORD RunToEnd(const Launch& launch, DWORD timeoutMs);

// A running process's program path from its module snapshot: Wine and the
// NT family give only the file name in the process snapshot.  Empty until
// the new process's loader has listed its modules.
std::string ProgramPathOf(DWORD pid);

}  // namespace machine
