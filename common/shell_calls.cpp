// SHELL32 and OLE32 functions bound at their first use.
#include "common/shell_calls.h"

namespace late {

namespace {

// The function, or null when its library or the function is missing.  A
// library is loaded once and stays for the rest of the process.
template <typename Function>
Function Bound(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

const char kOle[] = "OLE32.DLL";
const char kShell[] = "SHELL32.DLL";

}  // namespace

void LoadLibraries() {
  const char* const libraries[] = {kOle, kShell};
  for (const char* library : libraries)
    if (!GetModuleHandleA(library)) (void)LoadLibraryA(library);
}

HRESULT CoInitialize(LPVOID reserved) {
  auto call = Bound<HRESULT(WINAPI*)(LPVOID)>(kOle, "CoInitialize");
  return call ? call(reserved) : E_FAIL;
}

void CoUninitialize() {
  auto call = Bound<void(WINAPI*)()>(kOle, "CoUninitialize");
  if (call) call();
}

HRESULT CoCreateInstance(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID kind, LPVOID* object) {
  auto call = Bound<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(kOle, "CoCreateInstance");
  if (!call) {
    *object = NULL;
    return REGDB_E_CLASSNOTREG;
  }
  return call(type, outer, context, kind, object);
}

void CoTaskMemFree(LPVOID block) {
  auto call = Bound<void(WINAPI*)(LPVOID)>(kOle, "CoTaskMemFree");
  if (call) call(block);
}

HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) {
  auto call = Bound<HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*)>(kShell, "SHGetSpecialFolderLocation");
  if (!call) {
    *list = NULL;
    return E_FAIL;
  }
  return call(owner, folder, list);
}

LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info) {
  auto call = Bound<LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA)>(kShell, "SHBrowseForFolderA");
  return call ? call(info) : NULL;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  auto call = Bound<BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR)>(kShell, "SHGetPathFromIDListA");
  return call ? call(list, path) : FALSE;
}

}  // namespace late
