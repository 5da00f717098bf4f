// Unsetup.exe, the product's uninstaller, started from the uninstall entry or
// its shortcut in the program group.  It asks, then hands over to a copy of
// itself outside the install folder, which removes the installation and says
// when it is done.
#include <windows.h>

#include "common/disk_ops.h"
#include "common/folder_guard.h"
#include "common/path_text.h"
#include "common/text.h"

#include "install/install_records.h"
#include "install/run_lock.h"
#include "product/common/records.h"
#include "product/logic/hand_over.h"
#include "product/logic/product_paths.h"
#include "product/logic/unsetup_text.h"
#include "product/unsetup/removal.h"
#include "product/unsetup/self_copy.h"
#include "setupdll/at_restart.h"
#include "install/result_codes.h"
#include "common/setup_log.h"

namespace {

const char kAnotherRunText[] =
    "코르바네™의 설치나 제거가 실행 중입니다.\n그 작업이 끝난 뒤에 다시 제거하십시오.";

int Tell(const Text& text, UINT icon) {
  return MessageBoxA(NULL, text.c_str(), kUninstallTitle, MB_OK | icon | MB_SETFOREGROUND);
}

// The recorded install folder, or this program's own when it is plainly the
// product's (a setup that failed half-way records nothing).
Text InstallFolderToRemove() {
  Text own = OwnFolder();
  return ChooseInstallFolder(ProfileValue(kInstallRecord), own, FileExists(JoinPath(own, kMainProgram)));
}

// In either path form: a program started by its short path sees that one.
bool RunsFromInside(const Text& folder) {
  Text own = OwnProgramPath();
  if (IsInsideFolder(own, folder)) return true;
  Text shortOwn = ShortPathOf(own);
  Text shortFolder = ShortPathOf(folder);
  return !shortOwn.empty() && !shortFolder.empty() && IsInsideFolder(shortOwn, shortFolder);
}

// A refused record is told, and then nothing is removed.
bool TellIfRefused(const RefusedRecord& refused) {
  if (refused.why == FolderRefusal::None) return false;
  Tell(RefusedRecordText(refused), MB_ICONEXCLAMATION);
  return true;
}

void RemoveAndReport(const Installation& installation) {
  if (TellIfRefused(installation.refused)) return;
  // Out of the install folder, which a current folder would keep on the NT
  // family.
  (void)SetCurrentDirectoryA(WindowsFolder().c_str());
  AskAboutOthers ask;
  RemovalOutcome result = RemoveInstallation(installation, &ask);
  if (TellIfRefused(result.refused)) return;
  Tell(DoneText(result), MB_ICONINFORMATION);
}

// The emptied folders above the install folder, from the inside out, as far
// as the outermost one that setup made; a folder that is not empty, or that
// the folder guard protects, ends the walk.
void RemoveFoldersMadeAbove(const Text& installFolder, const Text& madeAbove) {
  for (Text folder = FolderOf(installFolder); SamePath(folder, madeAbove) || IsInsideFolder(folder, madeAbove);
       folder = FolderOf(folder)) {
    if (!MayRemoveOrStopIn(folder, nullptr, nullptr) || !ops::RemoveFolder(folder.c_str())) return;
  }
}

// The copy in TEMP: the original has asked and handed over, or (after a
// silent removal) left only its own file.
int ContinueAsCopy(const HandOver& handOver) {
  WaitForOriginal(handOver.parentId);
  if (handOver.cleanupOnly) {
    (void)ops::SetAttributes(handOver.folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!ops::Delete(handOver.folder.c_str())) (void)DeleteAtRestart(handOver.folder.c_str());
    (void)ops::RemoveFolder(FolderOf(handOver.folder).c_str());
    RemoveFoldersMadeAbove(FolderOf(handOver.folder), handOver.madeAbove);
  } else {
    // The original let the lock go when it ended; a setup may have taken it
    // in between.
    RunLock lock;
    if (lock.Held())
      RemoveAndReport(FindInstallation(handOver.folder));
    else
      Tell(kAnotherRunText, MB_ICONEXCLAMATION);
  }
  (void)DeleteAtRestart(OwnProgramPath().c_str());
  return 0;
}

// Unsetup.exe /S: no question and no message; the log and the result code
// tell what happened.  The removal runs here, and a copy in TEMP deletes this
// program's own file once it has ended.
int RemoveSilently(const UnsetupSwitches& switches) {
  if (!switches.log.empty()) (void)OpenSetupLog(switches.log);
  SetupLog("코르바네™ 제거 시작, 명령줄: " + Text(GetCommandLineA()));
  if (!switches.error.empty()) {
    SetupLog("명령줄 오류: " + switches.error);
    return FinishSetupLog(kExitBadCommandLine);
  }
  RunLock lock;
  if (!lock.Held()) {
    SetupLog(kAnotherRunText);
    return FinishSetupLog(kExitAnotherSetup);
  }
  Installation installation = FindInstallation(InstallFolderToRemove());
  if (installation.refused.why != FolderRefusal::None) {
    SetupLog(RefusedRecordText(installation.refused));
    return FinishSetupLog(kExitFailed);
  }
  if (!HasTraces(installation)) {
    SetupLog(kNothingToRemoveText);
    return FinishSetupLog(kExitDone);
  }
  SetupLog("설치 폴더: " + installation.folder + (installation.hasJournal ? " (설치 기록 있음)" : " (설치 기록 없음)"));
  (void)SetCurrentDirectoryA(WindowsFolder().c_str());
  AnsweredAboutOthers answer(switches.all);
  RemovalOutcome outcome = RemoveInstallation(installation, &answer);
  if (outcome.refused.why != FolderRefusal::None) {
    SetupLog(RefusedRecordText(outcome.refused));
    return FinishSetupLog(kExitFailed);
  }
  Text own = OwnProgramPath();
  if (FileExists(own) && !installation.folder.empty() && IsInsideFolder(own, installation.folder) &&
      !HandOverCleanup(own, outcome.madeAbove)) {
    if (DeleteAtRestart(own.c_str())) outcome.leftForRestart = true;
  }
  SetupLog(DoneText(outcome));
  if (!outcome.notRemoved.empty()) return FinishSetupLog(kExitFailed);
  return FinishSetupLog(outcome.leftForRestart ? kExitRestartNeeded : kExitDone);
}

// The lock is held from the rollback through the question to the removal, or
// until the copy in TEMP takes over, which waits for this process to end.
int AskAndRemove() {
  RunLock lock;
  if (!lock.Held()) {
    Tell(kAnotherRunText, MB_ICONEXCLAMATION);
    return 1;
  }
  Installation installation = FindInstallation(InstallFolderToRemove());
  if (TellIfRefused(installation.refused)) return 1;
  if (!HasTraces(installation)) {
    Tell(kNothingToRemoveText, MB_ICONINFORMATION);
    return 0;
  }
  Text question = RemoveQuestion(installation.folder);
  if (MessageBoxA(NULL, question.c_str(), kUninstallTitle, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
    return 0;
  // Without a copy (no TEMP folder, say) the removal runs here, and this
  // program's own file is left for the next start of Windows.
  if (RunsFromInside(installation.folder) && HandOverToCopy(installation.folder)) return 0;
  RemoveAndReport(installation);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  HandOver handOver;
  if (ParseHandOver(arguments, &handOver)) return ContinueAsCopy(handOver);
  UnsetupSwitches switches = ParseUnsetupSwitches(arguments);
  if (switches.silent) return RemoveSilently(switches);
  return AskAndRemove();
}
