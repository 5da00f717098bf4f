// User-information page (113): the user's name and company, offered from the
// registry and recorded in win.ini.
#include <windows.h>

#include "install/user_records.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "resources/ids.h"
#include "ui/window_placement.h"

namespace {

constexpr int kEntryBufferSize = 256;
constexpr int kEntryReadLimit = 255;

// Offers the name and company that other setup programs recorded for the
// current user.
void OnUserInfoInit(HWND page) {
  CenterOnScreen(page);
  Text name, company;
  ReadOfferedUser(&name, &company);
  SetWindowTextA(GetDlgItem(page, IDC_USER_NAME), name.c_str());
  SetWindowTextA(GetDlgItem(page, IDC_USER_COMPANY), company.c_str());
  FocusNext(page);
}

Text FieldText(HWND page, int id) {
  char entry[kEntryBufferSize];
  GetWindowTextA(GetDlgItem(page, id), entry, kEntryReadLimit);
  return entry;
}

void OnUserInfoCommand(HWND page, int command) {
  if (command == IDC_NEXT) RecordUser(FieldText(page, IDC_USER_NAME), FieldText(page, IDC_USER_COMPANY));
  FollowFlow(page, IDD_USERINFO, command);
}

}  // namespace

const PageHandlers kUserInfoPage = {SidePicture::Shown, OnUserInfoInit, OnUserInfoCommand, NULL};
