// _SETUP.DLL, loaded once and released when setup ends.
#include "install/setup_library.h"

#include "install/medium_files.h"

namespace {

HMODULE g_setupLibrary;
InitInstallFunction g_initInstall;

}  // namespace

bool LoadSetupLibrary() {
  g_setupLibrary = LoadLibraryA(MediumPath(kSetupLibraryFile).c_str());
  if (!g_setupLibrary) return false;
  g_initInstall = reinterpret_cast<InitInstallFunction>(
      reinterpret_cast<void*>(GetProcAddress(g_setupLibrary, CORVANE_INITINSTALL_EXPORT)));
  return g_initInstall != NULL;
}

void FreeSetupLibrary() {
  if (g_setupLibrary) FreeLibrary(g_setupLibrary);
  g_setupLibrary = NULL;
  g_initInstall = NULL;
}

InitInstallFunction SetupLibraryInitInstall() { return g_initInstall; }
