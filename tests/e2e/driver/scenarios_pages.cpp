// The pages' own edge cases: a chosen folder and its display cut, the
// user-information page's prefill and records, the temporary file, and a
// task mask whose byte is a line feed.
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

// Browse, pick `chosen`, and expect the page to show `display`.
void Browse(Wizard& wizard, const std::string& chosen, const std::string& display) {
  HWND browser = folder_browser::Open(wizard);
  folder_browser::Select(browser, chosen);
  folder_browser::Close(browser, IDOK);
  folder_browser::ExpectDisplay(wizard, display, Format("display after choosing %s", Show(chosen).c_str()).c_str());
}

void BrowseCancelled(Wizard& wizard, const std::string& display) {
  folder_browser::Close(folder_browser::Open(wizard), IDCANCEL);
  folder_browser::ExpectDisplay(wizard, display, "display after a cancelled Browse");
}

void FinishByButton(Wizard& wizard) {
  std::set<HWND> before = ui::SeenOnScreen(wizard.Setup().Pid());
  wizard.Send(Ask::Button, IDOK);
  wizard.ExpectEndWithoutPage(before, "the finish button");
}

std::string Repeat(const char* unit, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += unit;
  return s;
}

}  // namespace

SCENARIO(browse_long_folder, "Browse to folders past 30 bytes (ASCII and Korean): display cut by bytes, full folder used; tasks 0x0A") {
  PrepareMachine();
  const std::string longParent = "C:\\Some Long Folder Name";
  // "C:\", nine Korean characters (18 bytes), "xyz", "\Corvane": 32 bytes.
  // The last 18 bytes start in the middle of a Korean character.
  const std::string korean = "C:\\" + Repeat("\xB0\xA1", 9) + "xyz";
  machine::MakeFolders(longParent);
  machine::MakeFolders(korean);
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Folder);

  Browse(wizard, korean, "C:\\..." + std::string("\xA1") + Repeat("\xB0\xA1", 3) + "xyz\\Corvane");
  Browse(wizard, longParent, "C:\\...older Name\\Corvane");
  BrowseCancelled(wizard, "C:\\...older Name\\Corvane");
  const std::string folder = longParent + "\\Corvane";

  HWND page = wizard.Go(IDOK, Page::Confirm);
  ExpectText(ui::Text(ui::Item(page, 1005)), ExpectedSummary(folder), "summary with the chosen folder whole");
  wizard.WalkTo(Page::Tasks);
  page = wizard.PageWindow();
  // Only the rescue disk and the scheduled scan: 0x08 | 0x02, a line feed.
  for (int box : {1010, 1012, 1014}) ui::Click(page, box);
  if (!ui::WaitUntil([&] { return ui::Check(page, 1010) == BST_UNCHECKED && ui::Check(page, 1014) == BST_UNCHECKED; }, 3000))
    Fail("the task boxes did not uncheck");
  wizard.Go(IDOK, Page::Finish);
  FinishByButton(wizard);
  ExpectInstalled(folder, 0x0A);
}

SCENARIO(user_info_edges, "user information: a too-long offered name, a short company, TEMP with a backslash, a 300-byte name, an empty company, Back resets") {
  PrepareMachine();
  machine::SetRegistryString(HKEY_CURRENT_USER, kUserInfoKey, "DefName", std::string(200, 'N'));
  machine::SetRegistryString(HKEY_CURRENT_USER, kUserInfoKey, "DefCompany", "ABCD");
  std::string temp = machine::Join(machine::WindowsFolder(), "TEMP");
  machine::MakeFolders(temp);
  machine::WriteFile(temp + "\\FILE.DAT", "x");
  SetChildEnvironment("TEMP", (temp + "\\").c_str());
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.Go(IDOK, Page::Agreement);
  HWND page = wizard.Go(IDOK, Page::UserInfo);
  // A value that does not fit the 128-byte read leaves its field empty; the
  // other field is not affected.
  ExpectText(ui::Text(ui::Item(page, 1005)), "", "name field for a 200-byte offered name");
  ExpectText(ui::Text(ui::Item(page, 1008)), "ABCD", "company field");
  ui::SetText(ui::Item(page, 1005), "typed, then left by Back");
  page = wizard.Go(4, Page::Agreement);
  page = wizard.Go(IDOK, Page::UserInfo);
  ExpectText(ui::Text(ui::Item(page, 1005)), "", "name field after Back and Yes");
  ExpectText(ui::Text(ui::Item(page, 1008)), "ABCD", "company field after Back and Yes");

  ui::SetText(ui::Item(page, 1005), std::string(300, 'L'));
  ui::SetText(ui::Item(page, 1008), "");
  wizard.Go(IDOK, Page::ScanChoice);
  ExpectText(machine::Profile("Corvane", "Name").value_or("(absent)"), std::string(254, 'L'), "win.ini Name of a 300-byte name");
  ExpectText(machine::Profile("Corvane", "Company").value_or("(absent)"), "", "win.ini Company left empty");
  if (machine::Exists(temp + "\\FILE.DAT")) Fail("FILE.DAT in TEMP with a trailing backslash was not deleted");
  HWND choice = wizard.PageWindow();
  ExpectTrue(choice != nullptr, "scan-choice page after Next");
  wizard.ConfirmQuit(Ask::Button);
}

SCENARIO(temp_unset, "no TEMP: nothing is deleted (not even FILE.DAT in the root) and setup goes on") {
  PrepareMachine();
  machine::WriteFile("C:\\FILE.DAT", "the user's");
  SetChildEnvironment("TEMP", nullptr);
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::UserInfo);
  wizard.Go(IDOK, Page::ScanChoice);
  ExpectText(machine::ReadFile("C:\\FILE.DAT").value_or("(gone)"), "the user's", "C:\\FILE.DAT");
  wizard.ConfirmQuit(Ask::Button);
}
