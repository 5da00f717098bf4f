// The few functions of SHELL32 and OLE32 that setup calls, bound at their
// first use instead of by the loader.  Loading the two libraries (and what
// they load in turn) at start-up took a good part of setup's time to its
// first window, and setup needs them only on the folder page and for its
// shortcuts.  Each does what the function of the same name does; one whose
// library or function cannot be had fails as that function fails.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace late {

// Loads both libraries now, on the calling thread (a thread with time to
// spare), so that the first call of any function below finds them loaded.
void LoadLibraries();

HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID kind, LPVOID* object);
void CoTaskMemFree(LPVOID block);
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info);
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);

}  // namespace late
