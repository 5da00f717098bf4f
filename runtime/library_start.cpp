// Entry point of the shipped libraries: builds their static objects when a
// process loads them and runs what registered for exit when it lets them go,
// around the library's own DllMain.
#include <windows.h>

#include "runtime/static_objects.h"

// Every shipped library has one.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

extern "C" __attribute__((force_align_arg_pointer)) BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason,
                                                                                  LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) RunStaticConstructors();
  BOOL result = DllMain(instance, reason, reserved);
  if (reason == DLL_PROCESS_DETACH) RunExitFunctions();
  return result;
}
