// Where the progress bar's fill ends, without Win32.
#pragma once

// x of the split for a client area starting at `left`, `width` pixels wide, at
// `percent` (not limited to 0..100): left + width * percent / 100, truncating
// toward zero.  A split outside the bar is harmless to the fills that use it.
int ProgressSplit(int left, int width, int percent);
