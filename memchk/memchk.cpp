// MemChk.exe: setup starts it hidden at start-up and does not wait for it.
// It records this computer's physical memory, total and free, in kilobytes,
// as win.ini's [Corvane] MemCheck=<total>/<free>, for the product to read.
#include <windows.h>

#include "install/install_records.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // GlobalMemoryStatus, not the Ex form, which Windows 95 lacks; figures
  // above 4 GB are capped, which is what a 9x system would see anyway.
  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  char text[32];
  wsprintfA(text, "%lu/%lu", static_cast<unsigned long>(status.dwTotalPhys / 1024),
            static_cast<unsigned long>(status.dwAvailPhys / 1024));
  // Nothing waits for this program; a failed write has no one to tell.
  (void)WriteProfileStringA(kRecordSection, kMemCheckRecord, text);
  return 0;
}
