// Programs the tests start.
#include "support/processes.h"

#include <tlhelp32.h>

namespace machine {

Process::~Process() {
  if (!info_.hProcess) return;
  if (Running()) End();
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool Process::Start(const Launch& launch) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (launch.show >= 0) {
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(launch.show);
  }
  HANDLE input = nullptr;
  if (launch.input) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&input, &writeEnd, &inherit, 0)) return false;
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    DWORD written = 0;
    if (!launch.input->empty()) {
      ::WriteFile(writeEnd, launch.input->data(), static_cast<DWORD>(launch.input->size()), &written, nullptr);
    }
    CloseHandle(writeEnd);
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  std::string line = launch.commandLine;
  bool started = CreateProcessA(launch.application.empty() ? nullptr : launch.application.c_str(), &line[0], nullptr,
                                nullptr, input != nullptr, 0, nullptr,
                                launch.folder.empty() ? nullptr : launch.folder.c_str(), &startup, &info_) != 0;
  if (input) CloseHandle(input);
  return started;
}

bool Process::Start(const std::string& commandLine, const std::string& folder) {
  Launch launch;
  launch.commandLine = commandLine;
  launch.folder = folder;
  return Start(launch);
}

bool Process::Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool Process::WaitEnd(DWORD timeoutMs, DWORD* code) const {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (code) GetExitCodeProcess(info_.hProcess, code);
  return true;
}

void Process::End() {
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

DWORD RunToEnd(const Launch& launch, DWORD timeoutMs) {
  Process process;
  DWORD code = kNoExitCode;
  if (!process.Start(launch) || !process.WaitEnd(timeoutMs, &code)) return kNoExitCode;
  return code;
}

std::string ProgramPathOf(DWORD pid) {
  HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (modules == INVALID_HANDLE_VALUE) return "";
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  std::string path = Module32First(modules, &module) ? module.szExePath : "";
  CloseHandle(modules);
  return path;
}

}  // namespace machine
