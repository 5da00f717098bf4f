// The result codes of an unattended run of SETUP.EXE or Unsetup.exe, as
// Windows Installer gives them, which deployment tools read.
#pragma once

constexpr int kExitDone = 0;
constexpr int kExitRestartNeeded = 3010;
constexpr int kExitFailed = 1603;
constexpr int kExitAnotherSetup = 1618;
constexpr int kExitAlreadyInstalled = 1638;
constexpr int kExitBadCommandLine = 1639;
