// The percentage bar (window class "CvProBar") of the preparing dialog and
// the copy page.  A bar runs its owner's job once, at its first timer tick,
// so that the dialog is on screen before the job starts; it knows nothing of
// what the job is.
#pragma once
#include <windows.h>

extern const char kProgressBarClass[];

// The percentage that a bar's painting shows.  Written by the copy page (0
// when it opens, then as each entry is installed); the preparing dialog
// leaves it at 0.  Read by the bar's WM_PAINT.  One bar exists at a time.
extern int g_barPercentage;

// What a bar runs at its first timer tick, one second after it is made.
struct BarJob {
  // Asked at every tick before the job starts; false lets the tick pass, and
  // the next tick asks again.  NULL: the job starts at the first tick.
  bool (*ready)();
  void (*run)();
};

LRESULT CALLBACK ProgressBarProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates a bar in a host dialog and starts the timer that runs `job`.
HWND CreateProgressBar(HINSTANCE instance, HWND host, int x, int y, int width, int height, int id,
                       BarJob job);
// Draws the bar at `percent` now, through its own DC; the stored percentage
// and the update region are left alone.
void DrawProgress(HWND bar, int percent);
// Draws from, from + 1, ..., to - 1, one step every 10 ms, handling no
// message meanwhile.
void AnimateProgress(HWND bar, int from, int to);
