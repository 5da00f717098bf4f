// A _SETUP.DLL that loads but lacks the InitInstall export: it exports the
// stdcall-decorated name that a build without a .def file would give, so that
// SETUP.EXE's lookup of the plain name fails as it would with such a library.
#include <windows.h>

#include "../trace.h"

extern "C" int WINAPI InitInstall(const char*, const char*) { return 1; }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  TraceModuleEvent("CORVANE_SETUPDLL_LOAD_LOG", module, reason, reserved);
  return TRUE;
}
