// The percentage bar (class "CvProBar") and the timer tick that runs the
// preparing job or the install job inside it.
#include <windows.h>

#include "install/install_job.h"
#include "pages/page_common.h"
#include "ui/progress_bar.h"
#include "ui/progress_split.h"
#include "shell/shell_state.h"

ProgressState g_progress;
HWND g_hostDialog;
HWND g_currentBar;

namespace {

void FillPart(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  RECT r = {left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// Draws the label clipped to one side of the split, in that side's colour.
void DrawLabelPart(HDC dc, RECT* client, const char* label, int left, int right, COLORREF colour) {
  HRGN region = CreateRectRgn(left, client->top, right, client->bottom);
  SelectClipRgn(dc, region);
  SetTextColor(dc, colour);
  DrawTextA(dc, label, -1, client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  DeleteObject(region);
}

// The same drawing serves WM_PAINT and DrawProgress.  The label uses the DC's
// default font: the bar selects none.
void PaintBar(HWND bar, HDC dc, int percent) {
  RECT client;
  GetClientRect(bar, &client);
  int split = ProgressSplit(client.left, client.right - client.left, percent);
  FillPart(dc, client.left, client.top, split, client.bottom, kBarFillColour);
  FillPart(dc, split, client.top, client.right, client.bottom, kBarGroundColour);
  SetBkMode(dc, TRANSPARENT);
  char label[16];
  wsprintfA(label, "%d%%", percent);
  DrawLabelPart(dc, &client, label, client.left, split, kBarGroundColour);
  DrawLabelPart(dc, &client, label, split, client.right, kBarFillColour);
}

void OnBarPaint(HWND bar) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(bar, &ps);
  PaintBar(bar, dc, g_progress.percentage);
  EndPaint(bar, &ps);
}

// A bar's timer starts its job once: it is killed before the job starts.
// While a quit question is open on the copy page, the tick is let pass and
// the timer ticks again after the answer; a confirmed quit ends the page and
// the bar with it, so no file is installed.
void OnBarTimer(HWND bar) {
  if (g_progress.jobMode != 0 && QuitQuestionOpen()) return;
  KillTimer(bar, kBarTimerId);
  if (g_progress.jobMode == 0)
    RunPreparingJob();
  else
    RunInstallJob();
}

}  // namespace

LRESULT CALLBACK ProgressBarProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnBarPaint(bar);
      return 0;
    case WM_TIMER:
      OnBarTimer(bar);
      return 0;
  }
  return DefWindowProcA(bar, msg, wParam, lParam);
}

void DrawProgress(HWND bar, int percent) {
  HDC dc = GetDC(bar);
  PaintBar(bar, dc, percent);
  ReleaseDC(bar, dc);
}

HWND CreateProgressBar(HWND host, int x, int y, int width, int height, int id) {
  HWND bar = CreateWindowExA(WS_EX_CLIENTEDGE, "CvProBar", NULL, WS_CHILD | WS_VISIBLE, x, y,
                             width, height, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             g_instance, NULL);
  g_currentBar = bar;
  SetTimer(bar, kBarTimerId, kBarStartDelayMs, NULL);
  return bar;
}
