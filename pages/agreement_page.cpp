// Agreement page (112): the licence text.
#include <windows.h>

#include "pages/agreement_text.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "resources/ids.h"
#include "ui/window_placement.h"

namespace {

void OnAgreementInit(HWND page) {
  CenterOnScreen(page);
  SetWindowTextA(GetDlgItem(page, IDC_AGREEMENT_TEXT), kAgreementText);
  FocusNext(page);
}

void OnAgreementCommand(HWND page, int command) { FollowFlow(page, IDD_AGREEMENT, command); }

}  // namespace

const PageHandlers kAgreementPage = {SidePicture::Shown, OnAgreementInit, OnAgreementCommand, NULL};
