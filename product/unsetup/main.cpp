// Unsetup.exe, the product's uninstaller, started from the uninstall entry or
// its shortcut in the program group.  It asks, then hands over to a copy of
// itself outside the install folder, which removes the installation and says
// when it is done.
#include <windows.h>

#include "product/common/records.h"
#include "product/logic/hand_over.h"
#include "product/logic/product_paths.h"
#include "product/logic/unsetup_text.h"
#include "product/unsetup/removal.h"
#include "product/unsetup/restart_delete.h"
#include "product/unsetup/self_copy.h"
#include "scan/scan_text.h"

namespace {

int Tell(const std::string& text, UINT icon) {
  return MessageBoxA(NULL, text.c_str(), kUninstallTitle, MB_OK | icon | MB_SETFOREGROUND);
}

// The recorded install folder, or this program's own when it is plainly the
// product's (a setup that failed half-way records nothing).
std::string InstallFolderToRemove() {
  std::string own = OwnFolder();
  return ChooseInstallFolder(ProfileValue("Install"), own, FileExists(JoinPath(own, "CV32W.EXE")));
}

// In either path form: a program started by its short path sees that one.
bool RunsFromInside(const std::string& folder) {
  std::string own = OwnProgramPath();
  if (IsInsideFolder(own, folder)) return true;
  std::string shortOwn = ShortPathOf(own);
  std::string shortFolder = ShortPathOf(folder);
  return !shortOwn.empty() && !shortFolder.empty() && IsInsideFolder(shortOwn, shortFolder);
}

// A refused record is told, and then nothing is removed.
bool TellIfRefused(const RefusedRecord& refused) {
  if (refused.why == FolderRefusal::kNone) return false;
  Tell(RefusedRecordText(refused), MB_ICONEXCLAMATION);
  return true;
}

void RemoveAndReport(const Installation& installation) {
  if (TellIfRefused(installation.refused)) return;
  // Out of the install folder, which a current folder would keep on the NT
  // family.
  (void)SetCurrentDirectoryA(WindowsFolder().c_str());
  RemovalResult result = RemoveInstallation(installation);
  if (TellIfRefused(result.refused)) return;
  Tell(DoneText(result.keptFolder, result.leftForRestart), MB_ICONINFORMATION);
}

// The copy in TEMP: the original has asked and handed over.
int ContinueAsCopy(const HandOver& handOver) {
  WaitForOriginal(handOver.parentId);
  RemoveAndReport(FindInstallation(handOver.folder));
  (void)DeleteAtRestart(OwnProgramPath());
  return 0;
}

int AskAndRemove() {
  Installation installation = FindInstallation(InstallFolderToRemove());
  if (TellIfRefused(installation.refused)) return 1;
  if (!HasTraces(installation)) {
    Tell(kNothingToRemoveText, MB_ICONINFORMATION);
    return 0;
  }
  std::string question = RemoveQuestion(installation.folder);
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
  return AskAndRemove();
}
