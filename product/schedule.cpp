// Schedule.EXE, the scheduled scan that setup puts into the Start-up folder:
// shows what is installed where and scans the Windows folder's files, at once
// when started with the task switch /SCAN, else when asked to.
#include <windows.h>

#include "common/text.h"

#include "common/process_match.h"
#include "product/common/engine_scan.h"
#include "product/common/product_window.h"
#include "product/common/records.h"

namespace {

void OnScanClicked(HWND window) { RunScanInWindow(window, WindowsFolder()); }

const ProductWindowKind kScheduledScan = {
    "Corvane_Schedule", "코르바네™ 예약 검사", "지금 검사(&S)", "예약 검사는 Windows 폴더의 파일을 검사합니다.",
    OnScanClicked,
};

bool AskedToScan(const char* arguments) { return UpperAscii(arguments).find("/SCAN") != Text::npos; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
  return RunProductWindow(instance, kScheduledScan, show, AskedToScan(arguments));
}
