// Bitmap drawing that the backdrop and the logo share.
#pragma once
#include <windows.h>

// Draws a whole bitmap with its top-left corner at (x, y).
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, DWORD rop);
