// MemChk.exe: setup starts it hidden at start-up and does not wait for it.
// It records this computer's physical memory, total and free, in kilobytes,
// as win.ini's [Corvane] MemCheck=<total>/<free>, for the product to read.
#include <windows.h>

#include "common/bounded_text.h"
#include "install/install_records.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // GlobalMemoryStatus, not the Ex form, which Windows 95 lacks; figures
  // above 4 GB are capped, which is what a 9x system would see anyway.
  MEMORYSTATUS status;
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  // Formatted here rather than by USER32's wsprintfA: without USER32 the
  // program starts without the window system, which under Wine costs more
  // than all the rest of it, while setup unpacks beside it.
  const Text text = DecimalText(status.dwTotalPhys / 1024) + "/" + DecimalText(status.dwAvailPhys / 1024);
  // Nothing waits for this program; a failed write has no one to tell.
  (void)WriteProfileStringA(kRecordSection, kMemCheckRecord, text.c_str());
  return 0;
}
