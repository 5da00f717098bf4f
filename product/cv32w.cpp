// CV32W.EXE, the product's main program: shows what is installed where, and
// scans a folder that the user picks for viruses.
#include <windows.h>
#include <shlobj.h>

#include "common/text.h"

#include "product/common/engine_scan.h"
#include "product/common/product_window.h"
#include "product/common/records.h"

namespace {

const char kBrowseTitle[] = "바이러스를 검사할 폴더를 고르십시오.";
// The folder the browser opens on: the last one scanned, at first the
// install folder.
Text g_lastFolder;

int CALLBACK OnBrowseEvent(HWND browser, UINT event, LPARAM, LPARAM data) {
  if (event == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

// The shell's folder browser; false when the user cancels or picks something
// that is not a folder on disk.
bool ChooseFolder(HWND window, Text* folder) {
  char display[MAX_PATH] = "";
  BROWSEINFOA browse = {};
  browse.hwndOwner = window;
  browse.pszDisplayName = display;
  browse.lpszTitle = kBrowseTitle;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = OnBrowseEvent;
  browse.lParam = reinterpret_cast<LPARAM>(g_lastFolder.c_str());
  LPITEMIDLIST item = SHBrowseForFolderA(&browse);
  if (!item) return false;
  char path[MAX_PATH] = "";
  bool chosen = SHGetPathFromIDListA(item, path) && path[0] != '\0';
  // The shell's allocator owns the item list; freeing it through SHGetMalloc
  // keeps OLE32 out of the program's imports.
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator))) {
    allocator->Free(item);
    allocator->Release();
  }
  if (chosen) *folder = path;
  return chosen;
}

void OnScanClicked(HWND window) {
  Text folder;
  if (!ChooseFolder(window, &folder)) return;
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
