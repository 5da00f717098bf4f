// A second SETUP.EXE started while the first runs: it ends at once with exit
// code 0, shows nothing, loads nothing, and the first goes on unaffected.
#include "check.h"
#include "outcome.h"
#include "scenario.h"
#include "support/files.h"
#include "support/settings.h"
#include "texts.h"
#include "wizard.h"

namespace {

// The first instance's MemChk.exe writes win.ini in its own time: wait for
// it, then clear its record, which a MemChk.exe started by a second instance
// would write again.
void SettleMemoryCheck() {
  if (!MediumHas("MemChk.exe")) return;
  if (!WaitForMemoryCheck(10000)) Fail("MemChk.exe of the first SETUP.EXE left no record");
  machine::SetProfile("Corvane", "MemCheck", nullptr);
}

void ExpectSecondInstanceEndsAtOnce() {
  std::string winIni = machine::ReadFile(machine::WindowsFolder() + "\\win.ini").value_or("");
  SetupProcess second(FromExplorer());
  unsigned long started = Elapsed();
  DWORD code = 0;
  if (!second.WaitEnd(10000, &code)) {
    Fail("the second SETUP.EXE still runs after 10 s; on screen:%s", DescribeScreen().c_str());
    return;
  }
  Note("the second SETUP.EXE ended after %.2f s", (Elapsed() - started) / 1000.0);
  if (code != 0) Fail("the second SETUP.EXE ended with exit code 0x%lX, expected 0", code);
  second.ExpectNoWindow("the second SETUP.EXE");
  if (!LibraryEvents(Bench().setupdllLoadLog, second.Pid()).empty()) Fail("the second SETUP.EXE loaded _SETUP.DLL");
  if (MediumHas("MemChk.exe") && WaitForMemoryCheck(1500)) Fail("the second SETUP.EXE started MemChk.exe");
  if (machine::ReadFile(machine::WindowsFolder() + "\\win.ini").value_or("") != winIni) {
    Fail("the second SETUP.EXE changed win.ini");
  }
}

}  // namespace

SCENARIO(second_instance_preparing, "a second SETUP.EXE during the preparing dialog (backdrop still hidden)") {
  PrepareMachine();
  SetupProcess first(FromExplorer());
  Wizard wizard(first);
  wizard.Expect(Page::Preparing, kStartTimeoutMs);
  SettleMemoryCheck();
  ExpectSecondInstanceEndsAtOnce();
  wizard.Expect(Page::Welcome, kStartTimeoutMs);
  wizard.ConfirmQuit(Ask::Button);
}

SCENARIO(second_instance_pages, "a second SETUP.EXE during the pages; the first then completes setup") {
  PrepareMachine();
  SetupProcess first(FromExplorer());
  Wizard wizard(first);
  wizard.ExpectStart();
  wizard.Go(IDOK, Page::Agreement);
  SettleMemoryCheck();
  ExpectSecondInstanceEndsAtOnce();
  wizard.WalkTo(Page::Confirm);
  ExpectSecondInstanceEndsAtOnce();
  wizard.WalkTo(Page::Finish);
  std::set<HWND> before = ui::SeenOnScreen(first.Pid());
  wizard.Send(Ask::Button, IDOK);
  wizard.ExpectEndWithoutPage(before, "the finish button");
  ExpectInstalled(texts::kDefaultFolder, 0x1F);
}
