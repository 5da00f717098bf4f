// Quitting: the quit confirmation answered OK on every page that has it (each
// by another of the ways to ask), the scan page's own question answered Yes,
// and the copy that fails on one file.
#include "check.h"
#include "outcome.h"
#include "scenario.h"
#include "support/files.h"
#include "support/settings.h"
#include "texts.h"
#include "wizard.h"

namespace {

// Walks to `page` and quits there by `how`; the checks of what setup left
// are the caller's.
void QuitOn(Page page, Ask how, bool scan = false) {
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(page, scan);
  wizard.ConfirmQuit(how);
}

}  // namespace

SCENARIO(quit_welcome, "quit confirmed on the welcome page (button)") {
  PrepareMachine();
  QuitOn(Page::Welcome, Ask::Button);
  ExpectNothingInstalled();
}

SCENARIO(quit_agreement, "quit confirmed on the agreement page (No)") {
  PrepareMachine();
  QuitOn(Page::Agreement, Ask::Button);
  ExpectNothingInstalled();
}

SCENARIO(quit_user_info, "quit confirmed on the user-information page (Esc); nothing recorded") {
  PrepareMachine();
  QuitOn(Page::UserInfo, Ask::Esc);
  ExpectNothingInstalled();
  if (machine::Profile("Corvane", "Name")) Fail("win.ini Corvane Name was written before Next");
}

SCENARIO(quit_scan_choice, "quit confirmed on the scan-choice page (close box)") {
  PrepareMachine();
  QuitOn(Page::ScanChoice, Ask::CloseBox);
  ExpectNothingInstalled();
}

SCENARIO(quit_scan, "the scan page's own question answered Yes while the scan runs: setup ends, the scan stops") {
  PrepareMachine();
  SetChildEnvironment("CORVANE_ENGINE_DELAY_MS", "200");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Scan, true);
  if (!ui::WaitUntil([] { return machine::Lines(Bench().engineLog).size() >= 3; }, 20000)) {
    Abort("the scan probes no file through Corvane.dll");
  }
  ui::MessageBoxView box = wizard.OpenQuitQuestion(Ask::Button);
  size_t probesAtQuestion = machine::Lines(Bench().engineLog).size();
  std::set<HWND> before = ui::SeenOnScreen(setup.Pid());
  ui::Answer(box, IDYES);
  wizard.ExpectEndWithoutPage(before, "Yes to the scan page's question");
  ExpectLibraryReleased(setup.Pid());
  std::vector<std::string> calls = machine::Lines(Bench().engineLog);
  // Only the engine's switching off may follow the answer.
  for (size_t i = probesAtQuestion; i < calls.size(); ++i) {
    if (calls[i] != "off") Fail("after Yes the scan went on: engine call %s", Show(calls[i]).c_str());
  }
  ExpectNothingInstalled();
}

SCENARIO(quit_folder, "quit confirmed on the install-folder page (button)") {
  PrepareMachine();
  QuitOn(Page::Folder, Ask::Button);
  ExpectNothingInstalled();
}

SCENARIO(quit_confirm, "quit confirmed on the confirmation page (WM_CLOSE)") {
  PrepareMachine();
  QuitOn(Page::Confirm, Ask::CloseMessage);
  ExpectNothingInstalled();
}

SCENARIO(quit_copy, "quit confirmed on the copy page while files are copied: no further file, no registration") {
  PrepareMachine();
  SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", "400");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  if (!ui::WaitUntil([] { return !InstallCalls().empty(); }, 20000)) Abort("the copy page installs nothing");
  ui::MessageBoxView box = wizard.OpenQuitQuestion(Ask::Button);
  size_t callsAtQuestion = InstallCalls().size();
  std::set<HWND> before = ui::SeenOnScreen(setup.Pid());
  ui::Answer(box, IDOK);
  wizard.ExpectEndWithoutPage(before, "the quit confirmed on the copy page");
  ExpectLibraryReleased(setup.Pid());
  size_t calls = InstallCalls().size();
  if (calls != callsAtQuestion) {
    Fail("InitInstall was called %zu more times after the quit was confirmed", calls - callsAtQuestion);
  }
  if (calls >= ExpectedInstallCalls(texts::kDefaultFolder).size()) Fail("every file was installed despite the quit");
  // What the run installed goes, as after a failed copy, and a folder that it
  // made is handed to the removal command.
  for (const InstallCall& call : InstallCalls()) {
    std::string path = call.folder + "\\" + call.name;
    if (machine::Exists(path)) Fail("%s, installed before the quit, is still there", Show(path).c_str());
  }
  if (machine::Exists(texts::kDefaultFolder)) Fail("the install folder %s, made by the run, is still there", texts::kDefaultFolder);
  if (!ui::WaitUntil([] { return !machine::Lines(Bench().deltreeLog).empty(); }, 10000)) {
    Fail("deltree was not started for the install folder after the quit");
  }
  ExpectNotRegistered();
  ExpectNoSetupRun(texts::kDefaultFolder);
  ExpectNoFollowUp();
  // Nothing left can pass for an installed product: setup starts afresh.
  SetupProcess again(FromExplorer());
  Wizard next(again);
  next.ExpectStart();
  next.ConfirmQuit(Ask::Button);
}

SCENARIO(quit_copy_before_start, "Cancel on the copy page before its job starts, the question left open two seconds, then OK: no InitInstall call, nothing installed") {
  PrepareMachine();
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  HWND confirm = wizard.WalkTo(Page::Confirm);
  ui::Click(confirm, IDOK);
  // The job starts one second after the page opens: Cancel goes to the page
  // the moment it is there.
  HWND copy = nullptr;
  ui::WaitUntil(
      [&] {
        for (HWND page : VisiblePages(setup.Pid())) {
          if (ui::Item(page, 1007)) copy = page;
        }
        return copy != nullptr;
      },
      kPageTimeoutMs, 2);
  if (!copy) Abort("the copy page does not open");
  PostMessageA(copy, WM_COMMAND, IDCANCEL, 0);
  ui::MessageBoxView box;
  if (!ui::WaitMessageBox(setup.Pid(), IsMessageBox, 5000, &box)) Abort("Cancel opens no question");
  if (!InstallCalls().empty()) Skip("the job had started before the question came up; nothing to show");
  Sleep(2000);
  ExpectNumber(static_cast<long long>(InstallCalls().size()), 0, "InitInstall calls while the question is open");
  std::set<HWND> before = ui::SeenOnScreen(setup.Pid());
  ui::Answer(box, IDOK);
  wizard.ExpectEndWithoutPage(before, "OK to the question asked before the copy started");
  ExpectNothingInstalled();
}

SCENARIO(quit_tasks, "quit confirmed on the task page (button): installed, but no Setup.run") {
  PrepareMachine();
  QuitOn(Page::Tasks, Ask::Button);
  ExpectRegistered(texts::kDefaultFolder);
  ExpectNoSetupRun(texts::kDefaultFolder);
  ExpectNoFollowUp();
}

SCENARIO(copy_failure, "InitInstall fails for the second file: one error message, the folder removed, setup ends") {
  PrepareMachine();
  SetChildEnvironment("CORVANE_SETUPDLL_FAIL_AT", "2");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  wizard.ExpectCopyFailure("Schedule.EXE");
  ExpectLibraryReleased(setup.Pid());
  ExpectNumber(static_cast<long long>(InstallCalls().size()), 2, "InitInstall calls up to the failure");
  ExpectNotRegistered();
  ExpectNoSetupRun(texts::kDefaultFolder);
  ExpectNoFollowUp();
  // The removal command names the install folder as one path despite its
  // blank; whether in quotes is the program's choice.
  if (!ui::WaitUntil([] { return !machine::Lines(Bench().deltreeLog).empty(); }, 10000)) {
    Fail("deltree was not started to remove the install folder");
    return;
  }
  std::string command = machine::Lines(Bench().deltreeLog).front();
  std::string folder = texts::kDefaultFolder;
  if (command != "deltree /y " + folder && command != "deltree /y \"" + folder + "\"") {
    Fail("deltree was started as %s; expected deltree /y and the install folder", Show(command).c_str());
  }
}
