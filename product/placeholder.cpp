// Stand-in for a program of the installed product (CV32W.EXE, Schedule.EXE,
// Unsetup.exe) until the real ones exist: a small window that shows the
// product's name, its version and the folder the program runs from, so that
// an installation can be looked at; closing the window ends the program.
// Built once per program; CORVANE_PROGRAM_CV32W, _SCHEDULE or _UNSETUP says
// which.
#include <windows.h>

namespace {

const char kClassName[] = "CorvaneProgram";
const char kProductName[] = "코르바네™ for Win95/98";
const char kVersion[] = "버전 1.0";
#if defined(CORVANE_PROGRAM_CV32W)
const char kTitle[] = "코르바네™ 바이러스 검사";  // virus scan
#elif defined(CORVANE_PROGRAM_SCHEDULE)
const char kTitle[] = "코르바네™ 예약검사";  // scheduled scan
#elif defined(CORVANE_PROGRAM_UNSETUP)
const char kTitle[] = "코르바네™ 제거";  // removal
#else
#error "define which program this is"
#endif
const int kTextControlId = 100;
const int kWindowWidth = 420;
const int kWindowHeight = 130;
const int kMargin = 12;
const size_t kPathBufferSize = MAX_PATH;
const size_t kTextBufferSize = 1024;  // wsprintfA writes at most 1024 bytes

// The folder of this program, without a trailing backslash. In code page 949
// a backslash byte is never the second byte of a character.
void program_folder(char* folder, size_t size) {
  const DWORD length = GetModuleFileNameA(NULL, folder, static_cast<DWORD>(size));
  folder[length < size ? length : size - 1] = '\0';
  char* cut = folder;
  for (char* p = folder; *p != '\0'; ++p) {
    if (*p == '\\') cut = p;
  }
  *cut = '\0';
}

void on_create(HWND window) {
  char folder[kPathBufferSize];
  program_folder(folder, sizeof folder);
  char text[kTextBufferSize];
  wsprintfA(text, "%s\r\n%s\r\n%s", kProductName, kVersion, folder);
  RECT client;
  GetClientRect(window, &client);
  HWND label = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin, kMargin,
                               client.right - 2 * kMargin, client.bottom - 2 * kMargin, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextControlId)),
                               GetModuleHandleA(NULL), NULL);
  // The stock GUI font is 9-point Gulim on Korean Windows.
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      on_create(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = window_procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(NULL, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class)) return 1;
  HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, kWindowWidth, kWindowHeight, NULL, NULL, instance,
                                NULL);
  if (window == NULL) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
