// The shell's folder browser that Browse on the install-folder page opens.
#include "folder_browser.h"

#include <shlobj.h>
#include <commctrl.h>

#include "check.h"

namespace folder_browser {
namespace {

constexpr int kBrowseButton = 5;
constexpr int kFolderDisplay = 1007;
constexpr UINT kSendTimeoutMs = 5000;

// The browser's tree of folders.
HWND Tree(HWND window) {
  for (HWND child : ui::Children(window)) {
    if (ui::ClassName(child) == "SysTreeView32") return child;
  }
  return nullptr;
}

LRESULT SendTree(HWND tree, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(tree, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

LPARAM Selected(HWND tree) { return SendTree(tree, TVM_GETNEXTITEM, TVGN_CARET, 0); }

// The tree's selection has moved from `before`, and the browser offers OK,
// which it does for folders of the file system only.
void ExpectSelected(HWND browser, LPARAM before, const std::string& what) {
  LPARAM now = Selected(Tree(browser));
  if (!now || now == before) Abort("the browser did not select %s", what.c_str());
  if (!ui::WaitUntil([&] { return ui::Enabled(browser, IDOK); }, 3000)) Abort("the browser does not offer %s", what.c_str());
}

}  // namespace

HWND Open(Wizard& wizard) {
  HWND page = wizard.PageWindow();
  DWORD pid = wizard.Setup().Pid();
  ui::Click(page, kBrowseButton);
  HWND found = nullptr;
  ui::WaitUntil(
      [&] {
        for (HWND window : ui::TopLevel(pid)) {
          if (window != page && IsWindowVisible(window) && Tree(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      10000);
  if (!found) Abort("Browse opened no folder browser; on screen:%s", DescribeScreen().c_str());
  return found;
}

void Select(HWND browser, const std::string& path) {
  LPARAM before = Selected(Tree(browser));
  if (!ui::SendWithText(browser, BFFM_SETSELECTIONA, TRUE, path)) Abort("cannot hand setup's browser a path");
  ExpectSelected(browser, before, Show(path));
}

void SelectFirstDrive(HWND browser) {
  HWND tree = Tree(browser);
  LPARAM before = Selected(tree);
  LPARAM root = SendTree(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  SendTree(tree, TVM_EXPAND, TVE_EXPAND, root);
  LPARAM drive = SendTree(tree, TVM_GETNEXTITEM, TVGN_CHILD, root);
  SendTree(tree, TVM_SELECTITEM, TVGN_CARET, drive);
  ExpectSelected(browser, before, "the first drive");
}

void Close(HWND browser, int button) {
  ui::Click(browser, button);
  if (!ui::WaitGone(browser, 5000)) Abort("the folder browser does not close");
}

void ExpectDisplay(Wizard& wizard, const std::string& display, const char* what) {
  HWND page = wizard.PageWindow();
  // The browser is gone before SHBrowseForFolderA returns and setup sets the
  // display.  A message to the page is answered once setup's thread is back
  // in the page's message loop, done with the answer: only then does a
  // display that must stay as it was say so.  A display that must change is
  // awaited as well, should setup ever take messages on the way.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(page, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored)) {
    Fail("the install-folder page does not answer after the browser closed");
  }
  HWND field = ui::Item(page, kFolderDisplay);
  ui::WaitUntil([&] { return ui::Title(field) == display; }, 3000);
  ExpectText(ui::Title(field), display, what);
}

}  // namespace folder_browser
