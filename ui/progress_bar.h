// The progress state and the percentage bar (window class "CvProBar").
// The preparing dialog and the copy page record themselves as host dialog
// and their bar as current bar; the copy page sets percentage 0 and job mode 1,
// the install job raises the percentage.  The bar's first timer tick runs the
// preparing job (mode 0) or the install job (any other mode).
#pragma once
#include <windows.h>

struct ProgressState {
  int percentage;  // per cent, not limited to 0..100
  int jobMode;     // 0: preparing job; other: install job
};
extern ProgressState g_progress;
extern HWND g_hostDialog;
extern HWND g_currentBar;

constexpr COLORREF kBarFillColour = 0x7F0000;   // dark blue
constexpr COLORREF kBarGroundColour = 0xFFFFFF; // white
constexpr UINT kBarTimerId = 1;
constexpr UINT kBarStartDelayMs = 1000;

// Draws the bar at `percent` now, through its own DC; the stored percentage
// and the update region are left alone.
void DrawProgress(HWND bar, int percent);
// Creates a bar in a host dialog and starts the one-second timer that runs
// the job; records it as the current bar.
HWND CreateProgressBar(HWND host, int x, int y, int width, int height, int id);
