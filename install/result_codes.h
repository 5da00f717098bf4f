// The result codes of an unattended run of SETUP.EXE or Unsetup.exe, as
// Windows Installer gives them, which deployment tools read.  The list with
// its meanings is what setup's /? box shows.
#pragma once
#include <stddef.h>

constexpr int kExitDone = 0;
constexpr int kExitRestartNeeded = 3010;
constexpr int kExitFailed = 1603;
constexpr int kExitAnotherSetup = 1618;
constexpr int kExitAlreadyInstalled = 1638;
constexpr int kExitBadCommandLine = 1639;

struct ResultCode {
  int code;
  const char* meaning;
};

inline constexpr ResultCode kResultCodes[] = {
    {kExitDone, "설치됨"},
    {kExitRestartNeeded, "다시 시작 필요"},
    {kExitFailed, "실패"},
    {kExitAnotherSetup, "다른 설치 실행 중"},
    {kExitAlreadyInstalled, "이미 설치됨"},
    {kExitBadCommandLine, "잘못된 명령줄"},
};
inline constexpr size_t kResultCodeCount = sizeof kResultCodes / sizeof kResultCodes[0];
