// The shell's folder browser, through SHELL32 and OLE32 bound at first use.
#include "common/folder_browser.h"

#include <shlobj.h>

#include "common/shell_calls.h"

namespace {

int CALLBACK OnBrowseEvent(HWND browser, UINT event, LPARAM, LPARAM start) {
  if (event == BFFM_INITIALIZED && start) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, start);
  return 0;
}

}  // namespace

bool BrowseForFolder(HWND owner, const char* title, int root, const Text& start, Text* chosen) {
  LPITEMIDLIST rootList = NULL;
  if (root >= 0) (void)late::SHGetSpecialFolderLocation(owner, root, &rootList);
  char display[MAX_PATH] = "";
  BROWSEINFOA browse = {};
  browse.hwndOwner = owner;
  browse.pidlRoot = rootList;
  browse.pszDisplayName = display;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = OnBrowseEvent;
  browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST item = late::SHBrowseForFolderA(&browse);
  char path[MAX_PATH] = "";
  bool picked = item && late::SHGetPathFromIDListA(item, path) && path[0] != '\0';
  if (item) late::CoTaskMemFree(item);
  if (rootList) late::CoTaskMemFree(rootList);
  if (picked) *chosen = path;
  return picked;
}
