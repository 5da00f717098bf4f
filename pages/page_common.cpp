// What all pages share: opening, centring, hand-over and quitting.
#include <windows.h>

#include "pages/flow_table.h"
#include "pages/page_common.h"
#include "resources/ids.h"
#include "ui/placement.h"
#include "shell/shell_state.h"

namespace {

const char kQuitText[] = "코르바네™의 설치를 종료하시겠습니까?";
const char kQuitTitle[] = "설치 종료";

struct PageProcedure {
  int templateId;
  DLGPROC proc;
};

// Set while a question about quitting is on screen.
bool g_quitQuestionOpen;

const PageProcedure kPageProcedures[] = {
    {IDD_WELCOME, WelcomePageProc},       {IDD_AGREEMENT, AgreementPageProc},
    {IDD_USERINFO, UserInfoPageProc},     {IDD_SCAN_CHOICE, ScanChoicePageProc},
    {IDD_SCAN, ScanPageProc},             {IDD_FOLDER, FolderPageProc},
    {IDD_CONFIRM, ConfirmPageProc},       {IDD_TASKS, TaskPageProc},
    {IDD_FINISH, FinishPageProc},
};

}  // namespace

void OpenPage(int templateId) {
  for (const PageProcedure& p : kPageProcedures) {
    if (p.templateId == templateId) {
      DialogBoxParamA(g_instance, MAKEINTRESOURCEA(templateId), g_backdrop, p.proc, 0);
      return;
    }
  }
}

void CenterPage(HWND page) {
  RECT r;
  GetWindowRect(page, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  MoveWindow(page, CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), w),
             CenteredOrigin(GetSystemMetrics(SM_CYSCREEN), h), w, h, TRUE);
}

void PreparePictureDc(HDC dc) { SetStretchBltMode(dc, COLORONCOLOR); }

void FocusNext(HWND page) { SetFocus(GetDlgItem(page, IDC_NEXT)); }

void HandOver(HWND page, int nextTemplateId) {
  EndDialog(page, 0);
  OpenPage(nextTemplateId);
}

void QuitSetup(HWND page) {
  EndDialog(page, 0);
  SendMessageA(g_backdrop, WM_DESTROY, 0, 0);
}

int AskAboutQuitting(HWND page, const char* text, const char* title, UINT type) {
  g_quitQuestionOpen = true;
  int answer = MessageBoxA(page, text, title, type);
  g_quitQuestionOpen = false;
  return answer;
}

bool QuitQuestionOpen() { return g_quitQuestionOpen; }

void ConfirmQuit(HWND page) {
  if (AskAboutQuitting(page, kQuitText, kQuitTitle, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    QuitSetup(page);
}

void FollowFlow(HWND page, int pageId, int command) {
  if (command == IDC_CANCEL) {
    ConfirmQuit(page);
    return;
  }
  if (int next = NextPage(pageId, command)) HandOver(page, next);
}
