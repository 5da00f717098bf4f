// The one-run-at-a-time lock of setup and the uninstaller.
#include "install/run_lock.h"

RunLock::RunLock() : mutex_(CreateMutexA(NULL, FALSE, kRunLockName)), held_(false) {
  // Without a mutex (the name taken by another kind of object) there is
  // nothing to wait for: the run goes on as it did before there was a lock.
  if (!mutex_) {
    held_ = true;
    return;
  }
  DWORD waited = WaitForSingleObject(mutex_, kRunLockWaitMs);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

RunLock::~RunLock() {
  if (!mutex_) return;
  if (held_) (void)ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}
