// Bitmap drawing that the backdrop and the logo share.
#include "shell/draw_bitmap.h"

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, DWORD rop) {
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap);
  SetMapMode(mem, GetMapMode(dc));
  BITMAP bm;
  GetObjectA(bitmap, sizeof bm, &bm);
  POINT size = {bm.bmWidth, bm.bmHeight};
  DPtoLP(dc, &size, 1);
  POINT origin = {0, 0};
  DPtoLP(mem, &origin, 1);
  BitBlt(dc, x, y, size.x, size.y, mem, origin.x, origin.y, rop);
  SelectObject(mem, old);
  DeleteDC(mem);
}
