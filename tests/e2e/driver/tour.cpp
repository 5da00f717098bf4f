// The screenshot tour of scripts/run.sh: walks the wizard on the sample
// medium and saves a picture of everything a user sees on the way.  Not a
// test: it checks only what it needs in order to go on.
#include "check.h"
#include "outcome.h"
#include "scenario.h"
#include "shots.h"
#include "support/files.h"
#include "texts.h"
#include "wizard.h"

namespace {

// Shows the question of button 2 for a picture and declines it.
void ShootQuestion(Wizard& wizard, const char* name) {
  ui::MessageBoxView box = wizard.OpenQuitQuestion(Ask::Button);
  Shot(name);
  if (wizard.Current() == Page::Scan) {
    ui::Answer(box, IDNO);
  } else {
    ui::Answer(box, IDCANCEL);
  }
}

}  // namespace

SCENARIO(tour, "screenshots of every page, the backdrop, the preparing dialog, the copy page and message boxes") {
  PrepareMachine();
  // Slow doubles, so that the scan and the copy stay on screen for their shots.
  SetChildEnvironment("CORVANE_ENGINE_DELAY_MS", "300");
  SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", "700");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.Expect(Page::Preparing, kStartTimeoutMs);
  // The bar starts one second after the dialog opens and runs for about one.
  Sleep(1200);
  Shot("01-preparing");
  Sleep(1500);
  Shot("01-preparing-done");
  HWND page = wizard.Expect(Page::Welcome, kStartTimeoutMs);
  Shot("02-welcome");
  ShowWindow(page, SW_HIDE);
  Sleep(300);
  Shot("03-backdrop");
  ShowWindow(page, SW_SHOW);
  ShootQuestion(wizard, "04-quit-question");
  page = wizard.Go(IDOK, Page::Agreement);
  Shot("05-agreement");
  wizard.Go(IDOK, Page::UserInfo);
  Shot("06-user-info");
  wizard.Go(IDOK, Page::ScanChoice);
  Shot("07-scan-choice");
  page = wizard.Go(IDOK, Page::Scan);
  // The engine double logs its probes; with another engine (or none) the
  // scan may be over before a picture could show it running.
  if (ui::WaitUntil([] { return machine::Lines(Bench().engineLog).size() >= 3; }, 3000) &&
      ui::Enabled(page, IDCANCEL)) {
    Shot("08-scan-running");
    ShootQuestion(wizard, "09-scan-question");
  }
  wizard.ExpectScanCompleted();
  Shot("10-scan-complete");
  wizard.Go(IDOK, Page::Folder);
  Shot("11-install-folder");
  wizard.Go(IDOK, Page::Confirm);
  Shot("12-confirmation");
  page = wizard.Go(IDOK, Page::Copy);
  // The page repaints between files only, so the shot waits for the second
  // file's name: the first is on screen then, with its share of the bar.
  // With the real support library the whole copy takes about two seconds.
  HWND status = ui::Item(page, 1007);
  std::string first;
  ui::WaitUntil(
      [&] {
        if (!IsWindowVisible(page)) return true;
        std::string now = ui::Title(status);
        if (first.empty()) first = now;
        return !first.empty() && now != first;
      },
      20000, 5);
  Shot("13-copy");
  wizard.Expect(Page::Tasks, 60000);
  Shot("14-tasks");
  wizard.Go(IDOK, Page::Finish);
  Shot("15-finish");
  wizard.Send(Ask::Button, IDOK);
  setup.ExpectEnd(10000, "the finish button");
  // Setup is now recorded as installed: a new start says so.
  SetupProcess again(FromExplorer());
  ui::MessageBoxView box;
  if (ui::WaitMessageBox(again.Pid(), texts::kErrorTitle, kStartTimeoutMs, &box)) {
    Shot("16-already-installed");
    ui::Answer(box, IDOK);
  }
  again.ExpectEnd(10000, "the already-installed message");
}
