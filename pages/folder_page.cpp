// Install-folder page (114): Browse picks a parent folder, "Corvane" is added.
#include <windows.h>
#include <shlobj.h>

#include "common/folder_browser.h"
#include "pages/folder_choice.h"
#include "pages/page_common.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"

namespace {

const char kBrowseTitle[] = "코르바네™을 설치하고 싶으신 폴더를 선택하세요.";

// The browser is rooted at My Computer: any folder on any drive, nothing else.
void OnBrowse(HWND page) {
  Text chosen;
  if (!BrowseForFolder(page, kBrowseTitle, CSIDL_DRIVES, "", &chosen)) return;
  if (!MakeInstallFolder(chosen.c_str(), g_installFolder, sizeof g_installFolder)) return;
  char display[kPathBufferSize];
  FolderDisplayText(g_installFolder, display, sizeof display);
  SetWindowTextA(GetDlgItem(page, IDC_FOLDER_DISPLAY), display);
}

void OnFolderCommand(HWND page, int command) {
  if (command == IDC_BROWSE) {
    OnBrowse(page);
    return;
  }
  FollowFlow(page, IDD_FOLDER, command);
}

}  // namespace

// The display keeps the template's default text: it shows the install folder
// only after a Browse on this opening.
const PageHandlers kFolderPage = {SidePicture::Shown, InitPlainPage, OnFolderCommand, NULL};
