// Which handlers each page's template gets.
#include "pages/page_table.h"

#include "pages/wizard_state.h"
#include "resources/ids.h"

namespace {

struct PageEntry {
  int templateId;
  const PageHandlers* handlers;
};

const PageEntry kPages[] = {
    {IDD_WELCOME, &kWelcomePage},        {IDD_AGREEMENT, &kAgreementPage},
    {IDD_USERINFO, &kUserInfoPage},      {IDD_SCAN_CHOICE, &kScanChoicePage},
    {IDD_SCAN, &kScanPage},              {IDD_FOLDER, &kFolderPage},
    {IDD_CONFIRM, &kConfirmPage},        {IDD_COPY, &kCopyPage},
    {IDD_TASKS, &kTaskPage},             {IDD_FINISH, &kFinishPage},
};

}  // namespace

void OpenPage(int templateId) {
  for (const PageEntry& p : kPages) {
    if (p.templateId == templateId) {
      DialogBoxParamA(g_wizardWindows.instance, MAKEINTRESOURCEA(templateId), g_wizardWindows.backdrop,
                      PageProcedure, reinterpret_cast<LPARAM>(p.handlers));
      return;
    }
  }
}
