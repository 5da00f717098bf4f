// Entry point of SETUP.EXE: the start-up tests, then the backdrop that runs
// the whole wizard inside its creation.
#include <windows.h>

#include "common/text.h"

#include "install/rollback.h"
#include "install/run_lock.h"
#include "shell/backdrop.h"
#include "common/setup_log.h"
#include "shell/silent_setup.h"
#include "shell/startup.h"
#include "shell/switches.h"
#include "ui/box_titles.h"

namespace {

const char kAlreadyInstalledText[] =
    "(구)코르바네™이 이미 설치되어 있습니다.\n"
    "다시 설치하시려면 코르바네™을 제거한 후에 하여주십시오.";
const char kHelpTitle[] = "코르바네™ 설치";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  SetupSwitches switches = ParseSwitches(arguments);
  if (switches.help) {
    MessageBoxA(NULL, SwitchesHelpText().c_str(), kHelpTitle, MB_OK | MB_ICONINFORMATION);
    return 0;
  }
  if (switches.silent) return RunSilentSetup(instance, switches);
  if (FindWindowA(kSetupWindowClass, kSetupWindowTitle)) return 0;
  // Two starts at once (autorun and a double-click) both pass the window
  // check; only one gets the lock, and an uninstaller at work keeps it too.
  RunLock lock;
  if (!lock.Held()) return 0;
  // The wizard takes no other switch; a log it keeps when asked.
  if (switches.error.empty() && !switches.log.empty()) {
    (void)OpenSetupLog(switches.log);
    SetupLog("코르바네™ 설치 시작 (마법사): " + Text(GetCommandLineA()));
  }

  char buffer[kStartupBufferSize];
  EnterSetupFolder(buffer);

  StartMemoryCheck();

  // A copy that a crash or a forced end left unfinished is undone first, so
  // that what it left cannot pass for an installed product.  What cannot be
  // put back yet keeps its journal, and setup ends until it can.
  Text stuck;
  if (!FinishEarlierRun(&stuck)) {
    TellFileCannotBeMade(NULL, stuck.c_str());
    return 0;
  }
  if (ProductAlreadyInstalled(buffer)) {
    SetupLog("이미 설치되어 있어 끝냅니다.");
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
  SetupLog("설치 마법사를 끝냅니다.");
  CloseSetupLog();
  // The quit message carries 0: setup exits with 0 in every case.
  return static_cast<int>(msg.wParam);
}
