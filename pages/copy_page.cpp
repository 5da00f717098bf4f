// The copy page (302) and the install job that its bar starts.
#include "pages/copy_page.h"

#include <windows.h>

#include "common/text.h"

#include "install/install_job.h"
#include "install/progress_points.h"
#include "install/setup_library.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "common/setup_log.h"
#include "ui/box_titles.h"
#include "ui/progress_bar.h"
#include "ui/window_placement.h"

namespace {

constexpr int kCopyBarX = 9, kCopyBarY = 45, kCopyBarWidth = 350, kCopyBarHeight = 21;

// Written when the page opens; read by the install job.
HWND g_copyPage;
HWND g_copyBar;
// Set by the install job when it has registered the product and ended the page.
bool g_installCompleted;

// The copy page's side of the install job: the status line, the bar, the
// Cancel button between entries, and the failure message.
class CopyPage : public InstallObserver {
 public:
  CopyPage(HWND page, HWND bar) : page_(page), bar_(bar) {}

  void ShowFile(const Text& shownPath) override {
    SetWindowTextA(GetDlgItem(page_, IDC_COPY_STATUS), shownPath.c_str());
  }
  void EntrySkipped(const Text& shownPath) override { SetupLog("이미 있어 건너뜀: " + shownPath); }

  // However many points the manifest gives, the bar draws at most 100 steps
  // in all; the stored percentage is the sum.
  void Advance(int points) override {
    AnimationSpan span = PlanAnimation(g_barPercentage, points, &animationBudget_);
    AnimateProgress(bar_, span.from, span.to);
    g_barPercentage = AddPoints(g_barPercentage, points);
  }

  // The quit message stays queued for WinMain's loop.
  bool KeepGoing() override { return DrainMessages(); }

  void TellFailure(const Text& name) override {
    SetupLog("파일을 만들 수 없습니다: " + name);
    TellFileCannotBeMade(g_wizardWindows.backdrop, name.c_str());
  }

 private:
  HWND page_;
  HWND bar_;
  int animationBudget_ = kAnimationBudget;
};

// While a quit question is open on the page, the bar's tick is let pass and
// the timer ticks again after the answer; a confirmed quit ends the page and
// the bar with it, so no file is installed.
bool InstallJobReady() { return !QuitQuestionOpen(); }

// A failure ends setup by destroying the backdrop, which owns the page and
// the logo; a quit has already ended it.
void RunInstallJob() {
  CopyPage observer(g_copyPage, g_copyBar);
  switch (RunInstall(g_installFolder, ParentFolders::AsTheyAre, SetupLibraryInitInstall(), &observer)) {
    case InstallResult::Installed:
    case InstallResult::InstalledRestartNeeded:
      ShowWindow(g_wizardWindows.logo, SW_HIDE);
      g_installCompleted = true;
      EndDialog(g_copyPage, 0);
      return;
    case InstallResult::Failed:
      DestroyWindow(g_wizardWindows.backdrop);
      return;
    case InstallResult::Stopped:
      return;
  }
}

void OnCopyInit(HWND page) {
  g_copyPage = page;
  g_barPercentage = 0;
  PlaceBelowLogo(page);
  g_copyBar = CreateProgressBar(g_wizardWindows.instance, page, kCopyBarX, kCopyBarY, kCopyBarWidth,
                                kCopyBarHeight, IDC_COPY_BAR, BarJob{InstallJobReady, RunInstallJob});
}

// Only Cancel exists; while the job runs it arrives through the job's own
// draining, between entries.
void OnCopyCommand(HWND page, int command) {
  if (command == IDC_CANCEL) ConfirmQuit(page);
}

}  // namespace

const PageHandlers kCopyPage = {SidePicture::None, OnCopyInit, OnCopyCommand, NULL};

bool RunCopyPage() {
  g_installCompleted = false;
  OpenPage(IDD_COPY);
  return g_installCompleted && !g_setupEnding;
}
