// CV32W.EXE, the product's main program: shows what is installed where, and
// scans a folder that the user picks for viruses.
#include <windows.h>

#include "common/folder_browser.h"
#include "common/text.h"

#include "product/common/engine_scan.h"
#include "product/common/product_window.h"
#include "product/common/records.h"

namespace {

const char kBrowseTitle[] = "바이러스를 검사할 폴더를 고르십시오.";
// The folder the browser opens on: the last one scanned, at first the
// install folder.
Text g_lastFolder;

void OnScanClicked(HWND window) {
  Text folder;
  if (!BrowseForFolder(window, kBrowseTitle, -1, g_lastFolder, &folder)) return;
  g_lastFolder = folder;
  RunScanInWindow(window, folder);
}

const ProductWindowKind kMainProgram = {
    "Corvane_CV32W",    "코르바네™",
    "폴더 검사(&S)...", "[폴더 검사]를 누르고 검사할 폴더를 고르십시오. 폴더 안의 파일을 검사합니다.",
    OnScanClicked,
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  g_lastFolder = ProductFolder();
  return RunProductWindow(instance, kMainProgram, show, false);
}
