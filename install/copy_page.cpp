// The copy page (302) and the install job that its bar runs.
#include "install/copy_page.h"

#include <windows.h>

#include <string>

#include "install/install_job.h"
#include "install/journal_writer.h"
#include "install/manifest.h"
#include "install/manifest_entry.h"
#include "install/progress_points.h"
#include "install/registration.h"
#include "pages/pages.h"
#include "pages/task_mask.h"
#include "resources/ids.h"
#include "shell/placement.h"
#include "shell/progress.h"
#include "shell/shell_state.h"

namespace {

const char kSetupErrorTitle[] = "설치 오류";
const char kSubfolders[][12] = {"\\VProtect", "\\Update", "\\Vlist"};
constexpr int kCopyBarX = 9, kCopyBarY = 45, kCopyBarWidth = 350, kCopyBarHeight = 21;
constexpr int kAnimationStepMs = 10;

// Set by the install job when it has registered the product and ended the page.
bool g_installCompleted;

void OnCopyInit(HWND page) {
  g_hostDialog = page;
  g_progress.percentage = 0;
  g_progress.jobMode = 1;
  RECT r;
  GetWindowRect(page, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  MoveWindow(page, CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), w),
             BelowLogoTop(GetSystemMetrics(SM_CYSCREEN), h), w, h, TRUE);
  CreateProgressBar(page, kCopyBarX, kCopyBarY, kCopyBarWidth, kCopyBarHeight, IDC_COPY_BAR);
}

INT_PTR CALLBACK CopyPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      OnCopyInit(page);
      return FALSE;
    case WM_COMMAND:
      // Only Cancel exists; while the job runs it arrives through the job's
      // own draining, between entries.
      if (LOWORD(wParam) == IDC_CANCEL) ConfirmQuit(page);
      return TRUE;
  }
  return FALSE;
}

// Each call makes one level; existing folders are fine, and a folder that
// cannot be made shows up as a failing file in it.
void CreateInstallFolders(JournalWriter* journal) {
  journal->MakeFolder(g_installFolder);
  for (const char* sub : kSubfolders) journal->MakeFolder(std::string(g_installFolder) + sub);
}

std::string SystemFolder(TargetFolder which) {
  char dir[kPathBufferSize] = "";
  if (which == TargetFolder::System)
    GetSystemDirectoryA(dir, sizeof dir);
  else
    GetWindowsDirectoryA(dir, sizeof dir);
  return dir;
}

// Tells the user which file failed, puts back what this run changed, and
// ends setup by destroying the backdrop (which owns the page and the logo).
void FailInstall(const std::string& name, JournalWriter* journal) {
  std::string text = name + " 파일을 생성할 수 없습니다.\n설치를 종료하겠습니다.";
  MessageBoxA(g_backdrop, text.c_str(), kSetupErrorTitle, MB_OK | MB_ICONERROR);
  journal->RollBack(true);
  DestroyWindow(g_backdrop);
}

// However many points the manifest gives, the bar draws at most 100 steps
// in all; the stored percentage is the sum.
void AnimateTo(int points, int* budget) {
  AnimationSpan span = PlanAnimation(g_progress.percentage, points, budget);
  for (int p = span.from; p < span.to; ++p) {
    DrawProgress(g_currentBar, p);
    Sleep(kAnimationStepMs);
  }
  g_progress.percentage = AddPoints(g_progress.percentage, points);
}

}  // namespace

bool RunCopyPage() {
  g_installCompleted = false;
  DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_COPY), g_backdrop, CopyPageProc, 0);
  return g_installCompleted && !g_setupEnding;
}

void RunInstallJob() {
  JournalWriter journal;
  journal.Begin(g_installFolder);
  CreateInstallFolders(&journal);
  int animationBudget = kAnimationBudget;
  for (int n = 1;; ++n) {
    // A quit confirmed on the page stops the job here: nothing further is
    // installed, what this run did is undone, and the quit message stays
    // queued.
    if (!DrainMessages()) {
      journal.RollBack(true);
      return;
    }
    std::string value = ReadManifestString("SetupFiles", n);
    if (value == kAbsentValue) break;

    ResolvedEntry entry = ResolveEntry(value);
    std::string folder = entry.folder == TargetFolder::Install ? std::string(g_installFolder)
                                                               : SystemFolder(entry.folder);
    std::string shown = folder + "\\" + entry.name;
    bool skip = entry.skipIfPresent && GetFileAttributesA(shown.c_str()) != INVALID_FILE_ATTRIBUTES;
    SetWindowTextA(GetDlgItem(g_hostDialog, IDC_COPY_STATUS), shown.c_str());

    if (!skip) {
      journal.PrepareFile(shown);
      if (!(g_initInstall && g_initInstall(folder.c_str(), entry.name.c_str()))) {
        FailInstall(entry.name, &journal);
        return;
      }
      if (entry.folder == TargetFolder::System) journal.CountShared(shown);
    }
    AnimateTo(ReadManifestPoints(n), &animationBudget);
  }
  RegisterWithShell(&journal);
  // The finish page writes the task file later; it is setup's too.
  journal.PrepareFile(SetupRunPath(g_installFolder));
  journal.Commit();
  ShowWindow(g_logo, SW_HIDE);
  g_installCompleted = true;
  EndDialog(g_hostDialog, 0);
}
