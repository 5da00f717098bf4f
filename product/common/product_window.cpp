// The main window of the product's programs.
#include "install/install_records.h"
#include "product/common/product_window.h"

#include <windowsx.h>

#include "product/common/records.h"
#include "product/logic/product_text.h"

namespace {

constexpr int kWindowWidth = 520;
constexpr int kWindowHeight = 360;
constexpr int kMargin = 12;
constexpr int kInfoHeight = 68;
constexpr int kButtonWidth = 130;
constexpr int kButtonHeight = 24;
constexpr int kStatusHeight = 16;
constexpr int kGap = 8;
// Room after the longest finding, so that its end is not under the frame.
constexpr int kFindingsEndRoom = 8;
// Posted from WM_CREATE: the start-up scan waits until the window is shown.
constexpr UINT kScanAtStartMessage = WM_APP + 1;

const ProductWindowKind* g_kind;
bool g_scanAtStart;

HWND MakeChild(HWND window, const char* className, const char* text, DWORD style, int id, int x, int y, int w, int h,
               DWORD exStyle = 0) {
  HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)), NULL);
  // The stock GUI font is 9-point Gulim on Korean Windows.
  SetWindowFont(child, GetStockObject(DEFAULT_GUI_FONT), FALSE);
  return child;
}

// Lays out the facts, the button, the findings and the status line.
BOOL OnCreate(HWND window, LPCREATESTRUCT) {
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right - 2 * kMargin;
  Text info = ProductInfoText(ProductFolder(), GetProfileIntA(kRecordSection, kPendingTasksRecord, 0));
  MakeChild(window, "STATIC", info.c_str(), SS_LEFT | SS_NOPREFIX, kInfoTextId, kMargin, kMargin, width, kInfoHeight);
  const int buttonTop = kMargin + kInfoHeight + kGap;
  MakeChild(window, "BUTTON", g_kind->scanButtonText, BS_DEFPUSHBUTTON | WS_TABSTOP, kScanButtonId, kMargin, buttonTop,
            kButtonWidth, kButtonHeight);
  const int listTop = buttonTop + kButtonHeight + kGap;
  const int statusTop = client.bottom - kMargin - kStatusHeight;
  MakeChild(window, "LISTBOX", "", LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
            kFindingsListId, kMargin, listTop, width, statusTop - kGap - listTop, WS_EX_CLIENTEDGE);
  MakeChild(window, "STATIC", g_kind->readyText, SS_LEFTNOWORDWRAP | SS_NOPREFIX, kStatusTextId, kMargin, statusTop,
            width, kStatusHeight);
  if (g_scanAtStart) PostMessageA(window, kScanAtStartMessage, 0, 0);
  return TRUE;
}

void OnCommand(HWND window, int id, HWND, UINT) {
  if (id == kScanButtonId) g_kind->onScan(window);
}

void OnDestroy(HWND) { PostQuitMessage(0); }

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(window, WM_CREATE, OnCreate);
    HANDLE_MSG(window, WM_COMMAND, OnCommand);
    HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    case kScanAtStartMessage:
      g_kind->onScan(window);
      return 0;
    // Asked by the dialog manager's keyboard handling: Enter scans.
    case DM_GETDEFID:
      return MAKELRESULT(kScanButtonId, DC_HASDEFID);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int RunProductWindow(HINSTANCE instance, const ProductWindowKind& kind, int show, bool scanAtStart) {
  g_kind = &kind;
  g_scanAtStart = scanAtStart;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(NULL, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kind.className;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, kind.className, kind.title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, kWindowWidth, kWindowHeight, NULL, NULL, instance, NULL);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  SetFocus(GetDlgItem(window, kScanButtonId));
  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void SetStatusText(HWND window, const Text& text) { SetDlgItemTextA(window, kStatusTextId, text.c_str()); }

// Findings name whole paths: the list scrolls sideways as far as the
// longest one needs.
void WidenFindingsFor(HWND list, const Text& line) {
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, GetWindowFont(list));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  int extent = size.cx + kFindingsEndRoom;
  if (extent > ListBox_GetHorizontalExtent(list)) ListBox_SetHorizontalExtent(list, extent);
}

void AddFindingLine(HWND window, const Text& line) {
  HWND list = GetDlgItem(window, kFindingsListId);
  WidenFindingsFor(list, line);
  int at = ListBox_AddString(list, line.c_str());
  if (at >= 0) (void)ListBox_SetTopIndex(list, at);
}

void ClearFindings(HWND window) {
  HWND list = GetDlgItem(window, kFindingsListId);
  ListBox_ResetContent(list);
  ListBox_SetHorizontalExtent(list, 0);
}

void EnableScanButton(HWND window, bool enabled) {
  EnableWindow(GetDlgItem(window, kScanButtonId), enabled ? TRUE : FALSE);
}
