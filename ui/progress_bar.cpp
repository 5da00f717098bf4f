// The percentage bar (class "CvProBar"): its painting, its animation, and
// the timer tick that starts its owner's job.
#include "ui/progress_bar.h"

#include "ui/progress_split.h"

const char kProgressBarClass[] = "CvProBar";
int g_barPercentage;

namespace {

constexpr COLORREF kBarFillColour = 0x7F0000;   // dark blue
constexpr COLORREF kBarGroundColour = 0xFFFFFF; // white
constexpr UINT kBarTimerId = 1;
constexpr UINT kBarStartDelayMs = 1000;
constexpr DWORD kAnimationStepMs = 10;

// Set by CreateProgressBar, run by the bar's first timer tick.
BarJob g_barJob;

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
  PaintBar(bar, dc, g_barPercentage);
  EndPaint(bar, &ps);
}

// A bar's timer starts its job once: it is killed before the job starts.
// While the job is not ready the tick is let pass, and the timer ticks again.
void OnBarTimer(HWND bar) {
  if (g_barJob.ready && !g_barJob.ready()) return;
  KillTimer(bar, kBarTimerId);
  g_barJob.run();
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

HWND CreateProgressBar(HINSTANCE instance, HWND host, int x, int y, int width, int height, int id,
                       BarJob job) {
  HWND bar = CreateWindowExA(WS_EX_CLIENTEDGE, kProgressBarClass, NULL, WS_CHILD | WS_VISIBLE, x, y,
                             width, height, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             instance, NULL);
  g_barJob = job;
  SetTimer(bar, kBarTimerId, kBarStartDelayMs, NULL);
  return bar;
}

void AnimateProgress(HWND bar, int from, int to) {
  for (int p = from; p < to; ++p) {
    DrawProgress(bar, p);
    Sleep(kAnimationStepMs);
  }
}
