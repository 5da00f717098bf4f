// The copy page (302) and the install job that its bar runs.
#include "pages/copy_page.h"

#include <windows.h>

#include <string>

#include "install/install_job.h"
#include "install/progress_points.h"
#include "pages/page_common.h"
#include "resources/ids.h"
#include "ui/placement.h"
#include "ui/progress_bar.h"
#include "shell/setup_log.h"
#include "shell/shell_state.h"

namespace {

const char kSetupErrorTitle[] = "설치 오류";
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

// The copy page's side of the install job: the status line, the bar, the
// Cancel button between entries, and the failure message.
class CopyPage : public InstallObserver {
 public:
  void ShowFile(const std::string& shownPath) override {
    SetWindowTextA(GetDlgItem(g_hostDialog, IDC_COPY_STATUS), shownPath.c_str());
  }
  void EntrySkipped(const std::string& shownPath) override { SetupLog("이미 있어 건너뜀: " + shownPath); }

  // However many points the manifest gives, the bar draws at most 100 steps
  // in all; the stored percentage is the sum.
  void Advance(int points) override {
    AnimationSpan span = PlanAnimation(g_progress.percentage, points, &animationBudget_);
    for (int p = span.from; p < span.to; ++p) {
      DrawProgress(g_currentBar, p);
      Sleep(kAnimationStepMs);
    }
    g_progress.percentage = AddPoints(g_progress.percentage, points);
  }

  // The quit message stays queued for WinMain's loop.
  bool KeepGoing() override { return DrainMessages(); }

  void TellFailure(const std::string& name) override {
    SetupLog("파일을 만들 수 없습니다: " + name);
    std::string text = name + " 파일을 생성할 수 없습니다.\n설치를 종료하겠습니다.";
    MessageBoxA(g_backdrop, text.c_str(), kSetupErrorTitle, MB_OK | MB_ICONERROR);
  }

 private:
  int animationBudget_ = kAnimationBudget;
};

}  // namespace

bool RunCopyPage() {
  g_installCompleted = false;
  DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_COPY), g_backdrop, CopyPageProc, 0);
  return g_installCompleted && !g_setupEnding;
}

// A failure ends setup by destroying the backdrop, which owns the page and
// the logo; a quit has already ended it.
void RunInstallJob() {
  CopyPage page;
  switch (RunInstall(g_installFolder, g_initInstall, &page)) {
    case InstallResult::Installed:
    case InstallResult::InstalledRestartNeeded:
      ShowWindow(g_logo, SW_HIDE);
      g_installCompleted = true;
      EndDialog(g_hostDialog, 0);
      return;
    case InstallResult::Failed:
      DestroyWindow(g_backdrop);
      return;
    case InstallResult::Stopped:
      return;
  }
}
