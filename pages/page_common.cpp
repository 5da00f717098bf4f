// What every page does: opening, hand-over, quitting, and the message drain
// of the page jobs.
#include "pages/page_common.h"

#include "common/message_pump.h"

#include "pages/flow_table.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"
#include "ui/box_titles.h"
#include "ui/window_placement.h"

namespace {

const char kQuitText[] = "코르바네™의 설치를 종료하시겠습니까?";

// Set while a question about quitting is on screen.
bool g_quitQuestionOpen;

}  // namespace

void InitPlainPage(HWND page) {
  CenterOnScreen(page);
  FocusNext(page);
}

void FocusNext(HWND page) { SetFocus(GetDlgItem(page, IDC_NEXT)); }

void HandOver(HWND page, int nextTemplateId) {
  EndDialog(page, 0);
  OpenPage(nextTemplateId);
}

void QuitSetup(HWND page) {
  EndDialog(page, 0);
  SendMessageA(g_wizardWindows.backdrop, WM_DESTROY, 0, 0);
}

int AskAboutQuitting(HWND page, const char* text, UINT type) {
  g_quitQuestionOpen = true;
  int answer = MessageBoxA(page, text, kQuitTitle, type);
  g_quitQuestionOpen = false;
  return answer;
}

bool QuitQuestionOpen() { return g_quitQuestionOpen; }

void ConfirmQuit(HWND page) {
  if (AskAboutQuitting(page, kQuitText, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) QuitSetup(page);
}

void FollowFlow(HWND page, int pageId, int command) {
  if (command == IDC_CANCEL) {
    ConfirmQuit(page);
    return;
  }
  if (int next = NextPage(pageId, command)) HandOver(page, next);
}

bool DrainMessages() { return PumpWaitingMessages() && !g_setupEnding; }
