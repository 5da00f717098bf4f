// Junctions for tests under Wine, made by Unix programs.
#include "wine_links.h"

#include <windows.h>

#include <vector>

namespace {

constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollMs = 20;

bool IsLink(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wine's handle of a Unix program may be signalled before the program has
// done its work, so callers look for the result.
bool RunUnix(const std::string& command, const std::string& folder) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &info)) return false;
  (void)WaitForSingleObject(info.hProcess, kWaitMs);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

bool WaitForLink(const std::string& path, bool present) {
  for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
    if (IsLink(path) == present) return true;
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace

bool MakeLinkForTest(const std::string& folder, const std::string& name, const std::string& target) {
  return RunUnix("/bin/ln -s " + target + " " + name, folder) && WaitForLink(folder + "\\" + name, true);
}

void RemoveLinkForTest(const std::string& folder, const std::string& name) {
  std::string path = folder + "\\" + name;
  if (IsLink(path) && RunUnix("/bin/rm -f " + name, folder)) (void)WaitForLink(path, false);
}
