// The reference for the start-up benchmark: the smallest program that puts a
// window on the screen, built the usual MinGW way with its C runtime.  It
// stays until it is closed or ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "FirstWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("FirstWindow", "First window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                              NULL, NULL, instance, NULL);
  MSG message;
  while (IsWindow(window) && GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
