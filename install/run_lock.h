// One run at a time of SETUP.EXE and Unsetup.exe, whichever started first:
// a named mutex, which every Windows 95 has.  SETUP.EXE holds it from its
// start-up to its end, the uninstaller around its rollback and removal, so
// that an unfinished journal is rolled back once and no removal runs beside
// an install.
#pragma once
#include <windows.h>

// The mutex's name: the contract between the two programs (and their tests).
constexpr char kRunLockName[] = "Corvane_Setup_Run";

// The window whose class and title mark a running setup, wizard or silent:
// a second wizard that finds it ends before it asks for the lock.
constexpr char kSetupWindowClass[] = "Corvane_Setup";
constexpr char kSetupWindowTitle[] = "Corvane Setup";
// How long a second run waits for the first to end before it refuses.
constexpr DWORD kRunLockWaitMs = 3000;

class RunLock {
 public:
  // Waits up to kRunLockWaitMs.  A mutex whose owner died without letting it
  // go (a crash, a forced end) passes to the waiter, which then holds it.
  RunLock();
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  bool Held() const { return held_; }

 private:
  HANDLE mutex_;
  bool held_;
};
