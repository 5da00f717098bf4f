// Entry point of SETUP.EXE: the start-up tests, then the backdrop that runs
// the whole wizard inside its creation.
#include <windows.h>

#include "install/rollback.h"
#include "shell/shell_state.h"

namespace {

const char kBackdropClass[] = "Corvane_Setup";
const char kBackdropTitle[] = "Corvane Setup";
const char kProductProgram[] = "\\Cv32w.exe";
const char kAlreadyInstalledText[] =
    "(구)코르바네™이 이미 설치되어 있습니다.\n"
    "다시 설치하시려면 코르바네™을 제거한 후에 하여주십시오.";
const char kSetupErrorTitle[] = "설치 오류";

// Makes the folder the program was started from the current directory, so
// that every relative path of setup (SETUP.INI, _SETUP.DLL, ...) resolves
// there.  A bare program name leaves the current directory as it is.
void EnterSetupFolder(char* buffer) {
  CopyProgramPath(GetCommandLineA(), buffer, kStartupBufferSize);
  CutAtLastBackslash(buffer);
  // Results ignored: an unusable folder keeps the current directory, and the
  // other two calls then set it to itself.
  (void)SetCurrentDirectoryA(buffer);
  (void)GetCurrentDirectoryA(kStartupBufferSize, buffer);
  (void)SetCurrentDirectoryA(buffer);
}

// True when the product's main program exists in the folder that win.ini
// records (or in the default folder).  A recorded folder too long for the
// buffer cannot name the program, so it does not count.
bool ProductAlreadyInstalled(char* buffer) {
  DWORD n = GetProfileStringA("Corvane", "Install", kDefaultInstallFolder, buffer,
                              kStartupBufferSize);
  if (n >= kStartupBufferSize - 1) return false;
  if (!AppendBounded(buffer, kStartupBufferSize, kProductProgram)) return false;
  return GetFileAttributesA(buffer) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (FindWindowA(kBackdropClass, kBackdropTitle)) return 0;

  char buffer[kStartupBufferSize];
  EnterSetupFolder(buffer);

  (void)WinExec(".\\MemChk.exe", SW_HIDE);

  // A copy that a crash or a forced end left unfinished is undone first, so
  // that what it left cannot pass for an installed product.
  FinishEarlierRun();
  if (ProductAlreadyInstalled(buffer)) {
    MessageBoxA(NULL, kAlreadyInstalledText, kSetupErrorTitle, MB_OK | MB_ICONERROR);
    return 0;
  }
  if (!RegisterSetupClasses(instance)) return 0;
  if (!CreateBackdrop(instance)) return 0;

  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The quit message carries 0: setup exits with 0 in every case.
  return static_cast<int>(msg.wParam);
}
