// Walks through the whole wizard: forwards, with and without the scan, with
// Back wherever there is one, and by keys.
#include <algorithm>
#include <cstdlib>

#include <windows.h>

#include "check.h"
#include "folder_browser.h"
#include "outcome.h"
#include "scenario.h"
#include "support/files.h"
#include "support/settings.h"
#include "texts.h"
#include "wizard.h"

namespace {

const char kUserInfoKey[] = "Software\\Microsoft\\MS Setup (ACME)\\User Info";
const char kOfferedName[] = "홍길동";
const char kOfferedCompany[] = "코르바네 시험실";

// Name and company that other setup programs left for the user-information page.
void OfferUserInfo() {
  machine::SetRegistryString(HKEY_CURRENT_USER, kUserInfoKey, "DefName", kOfferedName);
  machine::SetRegistryString(HKEY_CURRENT_USER, kUserInfoKey, "DefCompany", kOfferedCompany);
}

std::string TempFile() { return machine::Join(machine::Environment("TEMP"), "FILE.DAT"); }

void ExpectAgreementText(HWND page) {
  HWND edit = ui::Item(page, 1005);
  std::string agreement = ui::Text(edit);
  ExpectNumber(static_cast<long long>(agreement.size()), 831, "agreement text length in bytes");
  std::vector<std::string> lines = text::Split(agreement, "\r\n");
  ExpectNumber(static_cast<long long>(lines.size()), 17, "agreement text lines");
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > 74) Fail("agreement line %zu is %zu bytes long, at most 74 expected", i + 1, lines[i].size());
  }
  if (lines.empty() || lines[0].find(texts::kProductName) == std::string::npos) {
    Fail("the agreement's first line does not name the product");
  }
  LONG style = GetWindowLongA(edit, GWL_STYLE);
  if (!(style & ES_READONLY) || !(style & ES_MULTILINE)) Fail("the agreement text is not a read-only multi-line edit");
}

void ExpectUserFields(HWND page, const char* name, const char* company) {
  ExpectText(ui::Text(ui::Item(page, 1005)), name, "user-information name field");
  ExpectText(ui::Text(ui::Item(page, 1008)), company, "user-information company field");
}

void ExpectRecordedUser(const char* name, const char* company) {
  ExpectText(machine::Profile("Corvane", "Name").value_or("(absent)"), name, "win.ini Corvane Name");
  ExpectText(machine::Profile("Corvane", "Company").value_or("(absent)"), company, "win.ini Corvane Company");
}

void ExpectScanChoiceDefault(HWND page) {
  ExpectNumber(ui::Check(page, 1016), BST_CHECKED, "scan-choice radio 1016 (scan first)");
  ExpectNumber(ui::Check(page, 1017), BST_UNCHECKED, "scan-choice radio 1017 (no scan)");
}

void ExpectTasksAllChecked(HWND page) {
  for (int id = 1010; id <= 1014; ++id) ExpectNumber(ui::Check(page, id), BST_CHECKED, Format("task box %d", id).c_str());
}

// Clears the given task boxes with clicks, as the user does.
void UncheckTasks(HWND page, const std::vector<int>& ids) {
  for (int id : ids) {
    ui::Click(page, id);
    if (!ui::WaitUntil([&] { return ui::Check(page, id) == BST_UNCHECKED; }, 3000)) Fail("task box %d stays checked", id);
  }
}

// Watches the copy page's status line until the task page opens; returns the
// distinct texts it showed, in order.
std::vector<std::string> FollowCopyPage(Wizard& wizard) {
  HWND copy = wizard.PageWindow();
  HWND status = ui::Item(copy, 1007);
  std::vector<std::string> shown;
  ui::WaitUntil(
      [&] {
        if (!IsWindow(status) || !IsWindowVisible(copy)) return true;
        std::string text = ui::Title(status);
        if (!text.empty() && (shown.empty() || shown.back() != text)) shown.push_back(text);
        return !wizard.Setup().Running();
      },
      60000, 5);
  return shown;
}

void ExpectCopyLines(const std::vector<std::string>& shown) {
  std::vector<std::string> want = ExpectedCopyLines(texts::kDefaultFolder);
  // Polling can miss a line that is up only briefly; what was seen must be
  // the manifest's paths in order.
  size_t at = 0;
  for (const std::string& line : shown) {
    while (at < want.size() && want[at] != line) ++at;
    if (at == want.size()) {
      Fail("the copy page showed %s, which is not the next manifest path", Show(line).c_str());
      return;
    }
  }
  if (shown.size() < 3) Fail("the copy page showed only %zu of the %zu paths", shown.size(), want.size());
}

bool SameFiles(std::vector<std::string> a, std::vector<std::string> b) {
  for (std::string& path : a) path = text::Lower(path);
  for (std::string& path : b) path = text::Lower(path);
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

// One scan run probes every file directly in C:\, then in the Windows folder,
// then in its Command folder, and nothing else.
void ExpectScannedFiles(const std::vector<std::string>& probes) {
  std::string windows = machine::WindowsFolder();
  const std::string folders[] = {"C:\\", windows, windows + "\\command"};
  size_t at = 0;
  for (const std::string& folder : folders) {
    std::vector<std::string> want = machine::FilesIn(folder);
    std::vector<std::string> got;
    while (at < probes.size() &&
           text::SameText(probes[at].substr(0, probes[at].find_last_of('\\') + 1), machine::Join(folder, ""))) {
      got.push_back(probes[at++]);
    }
    if (!SameFiles(got, want)) {
      Fail("the scan of %s probed %zu files, expected the %zu files directly in it", Show(folder).c_str(), got.size(),
           want.size());
    }
  }
  if (at != probes.size()) Fail("the scan probed %s, outside the three key folders or out of order", Show(probes[at]).c_str());
}

// The confirmation page shows the logo again above the backdrop for the copy:
// visible, and ahead of the backdrop in the Z order, which EnumWindows walks
// from the top.
void ExpectLogoDuringCopy(Wizard& wizard) {
  DWORD pid = wizard.Setup().Pid();
  HWND logo = ui::FindVisible(pid, texts::kLogoClass, nullptr);
  HWND backdrop = ui::FindVisible(pid, texts::kBackdropClass, texts::kBackdropTitle);
  if (!logo) {
    Fail("the logo window is not shown with the copy page");
    return;
  }
  std::vector<HWND> order = ui::TopLevel(pid);
  auto at = [&](HWND window) { return std::find(order.begin(), order.end(), window) - order.begin(); };
  if (backdrop && at(logo) > at(backdrop)) {
    Fail("the logo window is shown with the copy page, but below the backdrop, which hides it (owner %p, backdrop %p)",
         static_cast<void*>(GetWindow(logo, GW_OWNER)), static_cast<void*>(backdrop));
  }
}

// A completed scan page is left by Next only: with Cancel disabled, Esc and
// the close box ask nothing.
void ExpectNoWayOutButNext(Wizard& wizard) {
  for (Ask how : {Ask::Esc, Ask::CloseBox}) {
    wizard.Send(how);
    ui::MessageBoxView box;
    if (ui::WaitMessageBox(wizard.Setup().Pid(), IsMessageBox, 700, &box)) {
      Fail("%s on the completed scan page asked %s", AskName(how), Show(box.text).c_str());
      ui::Answer(box, box.buttons.size() > 1 ? box.buttons.back() : IDOK);  // No
    }
    if (!IsWindowVisible(wizard.PageWindow())) Abort("%s ended the completed scan page", AskName(how));
  }
}

void Finish(Wizard& wizard, Ask how) {
  std::set<HWND> before = ui::SeenOnScreen(wizard.Setup().Pid());
  wizard.Send(how, IDOK);
  ui::MessageBoxView box;
  if (ui::WaitMessageBox(wizard.Setup().Pid(), IsMessageBox, 700, &box)) {
    Fail("finishing by %s asked %s %s", AskName(how), Show(box.title).c_str(), Show(box.text).c_str());
    ui::Answer(box, box.buttons.empty() ? IDOK : box.buttons.front());
  }
  wizard.ExpectEndWithoutPage(before, Format("finishing by %s", AskName(how)).c_str());
  ExpectLibraryReleased(wizard.Setup().Pid());
}

}  // namespace

SCENARIO(walk_no_scan, "forward through every page without the scan; checks pages, texts and what setup leaves") {
  PrepareMachine();
  OfferUserInfo();
  machine::WriteFile(TempFile(), "left by an earlier setup");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  HWND page = wizard.Go(IDOK, Page::Agreement);
  ExpectAgreementText(page);
  page = wizard.Go(IDOK, Page::UserInfo);
  ExpectUserFields(page, kOfferedName, kOfferedCompany);
  HWND company = ui::Item(page, 1008);
  ui::SetText(company, "");
  ui::Type(company, "Test Lab");
  if (!ui::WaitUntil([&] { return ui::Text(company) == "Test Lab"; }, 3000)) Fail("typing into the company field failed");
  page = wizard.Go(IDOK, Page::ScanChoice);
  if (machine::Exists(TempFile())) Fail("%s was not deleted by Next on the user-information page", Show(TempFile()).c_str());
  ExpectRecordedUser(kOfferedName, "Test Lab");
  ExpectScanChoiceDefault(page);
  wizard.WalkTo(Page::Folder, false);
  ExpectText(ui::Title(ui::Item(wizard.PageWindow(), 1007)), texts::kDefaultFolder, "install-folder display 1007");
  page = wizard.Go(IDOK, Page::Confirm);
  ExpectText(ui::Text(ui::Item(page, 1005)), ExpectedSummary(texts::kDefaultFolder), "confirmation summary");
  page = wizard.Go(IDOK, Page::Copy);
  ExpectLogoDuringCopy(wizard);
  ExpectText(ui::ClassName(ui::Item(page, 3)), texts::kBarClass, "copy page control 3");
  ExpectCopyLines(FollowCopyPage(wizard));
  page = wizard.Expect(Page::Tasks, 60000);
  if (ui::FindVisible(setup.Pid(), texts::kLogoClass, nullptr)) Fail("the logo stays on screen after the copy");
  ExpectTasksAllChecked(page);
  wizard.Go(IDOK, Page::Finish);
  Finish(wizard, Ask::Button);
  ExpectInstalled(texts::kDefaultFolder, 0x1F);
}

SCENARIO(walk_scan, "the scan twice (declined quit during it, Back from the install folder); tasks 0x0D, finished by Esc") {
  PrepareMachine();
  SetChildEnvironment("CORVANE_ENGINE_DELAY_MS", "150");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  HWND page = wizard.WalkTo(Page::ScanChoice);
  ExpectScanChoiceDefault(page);
  for (int pass = 1; pass <= 2; ++pass) {
    page = wizard.Go(IDOK, Page::Scan);
    if (ui::Enabled(page, IDOK)) Fail("the scan page opens with Next enabled");
    if (pass == 1) {
      // Decline the scan's own question while files are being probed.
      if (!ui::WaitUntil([] { return machine::Lines(Bench().engineLog).size() >= 3; }, 20000)) {
        Abort("the scan probes no file through Corvane.dll");
      }
      wizard.DeclineQuit(Ask::Button);
    }
    wizard.ExpectScanCompleted();
    if (pass == 1) ExpectNoWayOutButNext(wizard);
    ExpectText(ui::Title(ui::Item(page, 1022)), texts::kNoVirus, "last-virus field 1022");
    for (int id : {1024, 1025, 1026}) ExpectText(ui::Title(ui::Item(page, id)), "0", Format("scan counter %d", id).c_str());
    // The probes of this run: after its "on".
    std::vector<std::string> calls = machine::Lines(Bench().engineLog);
    std::vector<std::string> probes;
    for (const std::string& call : calls) {
      if (call == "on") probes.clear();
      if (call.rfind("probe ", 0) == 0) probes.push_back(call.substr(6));
    }
    ExpectScannedFiles(probes);
    ExpectText(ui::Title(ui::Item(page, 1023)), std::to_string(probes.size()), "files-scanned counter 1023");
    page = wizard.Go(IDOK, Page::Folder);
    if (pass == 1) {
      page = wizard.Go(4, Page::ScanChoice);
      ExpectScanChoiceDefault(page);
    }
  }
  // Both runs bound the engine afresh: on, probes, off, each time.
  std::vector<std::string> calls = machine::Lines(Bench().engineLog);
  std::vector<std::string> frame;
  for (const std::string& call : calls) {
    if (call.rfind("probe ", 0) != 0) frame.push_back(call);
  }
  if (frame != std::vector<std::string>{"on", "off", "on", "off"}) {
    std::string seen;
    for (const std::string& call : frame) seen += " " + call;
    Fail("engine calls other than probes:%s; expected on off on off", seen.c_str());
  }
  std::vector<std::string> loads = LibraryEvents(Bench().engineLoadLog, setup.Pid());
  if (loads.size() != 4) Fail("Corvane.dll was loaded and released %zu times in all, expected 2 loads and 2 releases", loads.size());
  wizard.WalkTo(Page::Tasks);
  // Boxes 1011, 1012 and 1014 stay: bits 3, 2 and 0, a mask that reads
  // differently from either end.
  UncheckTasks(wizard.PageWindow(), {1010, 1013});
  wizard.Go(IDOK, Page::Finish);
  Finish(wizard, Ask::Esc);
  ExpectInstalled(texts::kDefaultFolder, 0x0D);
}

SCENARIO(walk_back, "Back on every page that has it; pages rebuilt on every opening; tasks 0x00, finished by the close box") {
  PrepareMachine();
  OfferUserInfo();
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.Go(IDOK, Page::Agreement);
  wizard.Go(4, Page::Welcome);
  wizard.Go(IDOK, Page::Agreement);
  HWND page = wizard.Go(IDOK, Page::UserInfo);
  ui::SetText(ui::Item(page, 1005), "typed, then left by Back");
  wizard.Go(4, Page::Agreement);
  page = wizard.Go(IDOK, Page::UserInfo);
  ExpectUserFields(page, kOfferedName, kOfferedCompany);
  wizard.WalkTo(Page::Folder, false);
  page = wizard.Go(4, Page::ScanChoice);
  ExpectScanChoiceDefault(page);
  wizard.WalkTo(Page::Confirm, false);
  page = wizard.Go(4, Page::Folder);
  ExpectText(ui::Title(ui::Item(page, 1007)), texts::kDefaultFolder, "install-folder display 1007 after Back");
  page = wizard.Go(IDOK, Page::Confirm);
  ExpectText(ui::Text(ui::Item(page, 1005)), ExpectedSummary(texts::kDefaultFolder), "confirmation summary after Back");
  wizard.WalkTo(Page::Tasks);
  UncheckTasks(wizard.PageWindow(), {1010, 1011, 1012, 1013, 1014});
  wizard.Go(IDOK, Page::Finish);
  Finish(wizard, Ask::CloseBox);
  ExpectInstalled(texts::kDefaultFolder, 0x00);
  ExpectRecordedUser(kOfferedName, kOfferedCompany);
}

SCENARIO(walk_keys, "every quit confirmation declined (button, Esc, close box, WM_CLOSE); pages passed by Enter") {
  PrepareMachine();
  SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", "300");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  // The preparing dialog takes no command: these must do nothing.
  wizard.ExpectStart([](HWND preparing) {
    ui::Key(preparing, VK_ESCAPE);
    ui::Key(preparing, VK_RETURN);
    ui::CloseBox(preparing);
  });
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::Esc, true);
  wizard.DeclineQuit(Ask::CloseBox);
  wizard.DeclineQuit(Ask::CloseMessage);
  wizard.GoByKey(VK_RETURN, Page::Agreement);
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::Esc);
  HWND page = wizard.GoByKey(VK_RETURN, Page::UserInfo);
  ui::SetText(ui::Item(page, 1005), "김철수");
  ui::Type(ui::Item(page, 1008), "ACME Korea");
  if (!ui::WaitUntil([&] { return ui::Text(ui::Item(page, 1008)) == "ACME Korea"; }, 3000)) Fail("typing into the company field failed");
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::Esc);
  wizard.DeclineQuit(Ask::CloseBox, true);
  page = wizard.GoByKey(VK_RETURN, Page::ScanChoice);
  ExpectRecordedUser("김철수", "ACME Korea");
  ui::Click(page, 1017);
  if (!ui::WaitUntil([&] { return ui::Check(page, 1017) == BST_CHECKED; }, 3000)) Fail("radio 1017 does not take the check");
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::Esc);
  wizard.GoByKey(VK_RETURN, Page::Folder);
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::CloseBox);
  wizard.GoByKey(VK_RETURN, Page::Confirm);
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::Esc);
  wizard.GoByKey(VK_RETURN, Page::Copy);
  // Cancel reaches the copy page between two files; declining goes on copying.
  if (!ui::WaitUntil([] { return !InstallCalls().empty(); }, 20000)) Abort("the copy page installs nothing");
  wizard.DeclineQuit(Ask::Button);
  page = wizard.Expect(Page::Tasks, 60000);
  ExpectTasksAllChecked(page);
  wizard.DeclineQuit(Ask::Button);
  wizard.DeclineQuit(Ask::Esc);
  wizard.DeclineQuit(Ask::CloseMessage);
  wizard.GoByKey(VK_RETURN, Page::Finish);
  Finish(wizard, Ask::Enter);
  ExpectInstalled(texts::kDefaultFolder, 0x1F);
}

SCENARIO(handoff_isdel, "the real _ISDEL.EXE on the medium takes over Setup.run after the finish page") {
  if (!machine::Exists(Bench().realIsdel)) {
    Note("_ISDEL.EXE was not built; nothing to hand over to");
    std::exit(77);
  }
  PrepareMachine();
  if (!CopyFileA(Bench().realIsdel.c_str(), (Bench().medium + "\\_ISDEL.EXE").c_str(), FALSE)) {
    Abort("cannot put the real _ISDEL.EXE on the medium");
  }
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Finish);
  Finish(wizard, Ask::Button);
  // It reads the task mask and removes the file.
  std::string setupRun = std::string(texts::kDefaultFolder) + "\\Setup.run";
  if (!ui::WaitUntil([&] { return !machine::Exists(setupRun); }, 15000, 50)) {
    Fail("_ISDEL.EXE did not take over %s", Show(setupRun).c_str());
  }
  ExpectRegistered(texts::kDefaultFolder);
}

SCENARIO(browse_folder, "Browse: cancelled changes nothing; the first drive's root gives <root>Corvane, kept across Back, used to the end") {
  PrepareMachine();
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  HWND page = wizard.WalkTo(Page::Folder);
  folder_browser::Close(folder_browser::Open(wizard), IDCANCEL);
  folder_browser::ExpectDisplay(wizard, texts::kDefaultFolder, "install-folder display after a cancelled Browse");
  // The browser's root is My Computer; its first entry is drive C:.
  HWND browser = folder_browser::Open(wizard);
  folder_browser::SelectFirstDrive(browser);
  folder_browser::Close(browser, IDOK);
  const std::string folder = "C:\\Corvane";
  folder_browser::ExpectDisplay(wizard, folder, "install-folder display after choosing the root of C:");
  page = wizard.Go(IDOK, Page::Confirm);
  ExpectText(ui::Text(ui::Item(page, 1005)), ExpectedSummary(folder), "confirmation summary for the chosen folder");
  page = wizard.Go(4, Page::Folder);
  // A new opening shows the template's text, while the choice stays in force.
  ExpectText(ui::Title(ui::Item(page, 1007)), texts::kDefaultFolder, "install-folder display after Back");
  page = wizard.Go(IDOK, Page::Confirm);
  ExpectText(ui::Text(ui::Item(page, 1005)), ExpectedSummary(folder), "confirmation summary after Back and Next");
  wizard.WalkTo(Page::Finish);
  Finish(wizard, Ask::Button);
  ExpectInstalled(folder, 0x1F);
  if (machine::Exists(texts::kDefaultFolder)) Fail("the default install folder was made too");
}
