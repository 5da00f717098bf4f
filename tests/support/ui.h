// Looking at and acting on windows, those of other processes of the prefix
// included: finding them, reading texts and states, pressing buttons and
// keys, message boxes, and a watcher that records every top-level window a
// watched process shows.  Messages to another process are sent with a time
// limit, so that a program that hangs fails a check instead of the test.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace ui {

inline constexpr char kDialogClass[] = "#32770";

std::string ClassName(HWND window);
// The window's own text as the system keeps it; sends no message, so it also
// works while the owning program is busy (caption, button and static texts).
std::string Title(HWND window);
// WM_GETTEXT with a time limit: the text of an edit control.
std::string Text(HWND window);
DWORD ProcessOf(HWND window);
DWORD ThreadOf(HWND window);
// The process that owns a window, opened to wait for its end (CloseHandle it).
HANDLE OpenOwner(HWND window);

// Top-level windows of a process (0: of every process), hidden ones
// included, in Z order.
std::vector<HWND> TopLevel(DWORD pid);
// The first visible top-level window of `pid` (0: any) with this class and
// title; a null class or title matches any.
HWND FindVisible(DWORD pid, const char* className, const char* title);
// The same, waited for; null when none came in time.
HWND WaitVisible(DWORD pid, const char* className, const char* title, unsigned timeoutMs);
// Direct children of a window, in template order.
std::vector<HWND> Children(HWND parent);

// Polls `done` every `stepMs` until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs, unsigned stepMs = 15);
// Gone, or no longer visible.
bool WaitHidden(HWND window, unsigned timeoutMs);
// Destroyed.
bool WaitGone(HWND window, unsigned timeoutMs);
// Dispatches what waits in this thread's queue, for windows of the test itself.
void Pump();

HWND Item(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
// BM_GETCHECK; -1 when the program does not answer.
int Check(HWND dialog, int id);
bool IsDefaultButton(HWND dialog, int id);

// Posted like a mouse click on the button; false (and a reported failure)
// when the dialog has no such control.
bool Click(HWND dialog, int id);
// Posted key press (WM_KEYDOWN, WM_KEYUP) to the control that has the focus in
// the dialog's thread (the dialog itself when none has): what the dialog
// manager sees when the user presses the key.
void Key(HWND dialog, UINT virtualKey);
// Posted characters, as typed into an edit control (ASCII only).
void Type(HWND control, const char* text);
// The close box of the caption, and WM_CLOSE as other programs send it.
void CloseBox(HWND window);
void CloseMessage(HWND window);
// WM_SETTEXT sent with a time limit (code page 949 text, converted by the system).
void SetText(HWND control, const std::string& text);
// Sends a message whose lParam is a text, copied into the memory of the
// window's own process for the call (BFFM_SETSELECTIONA, for one).
bool SendWithText(HWND window, UINT message, WPARAM wparam, const std::string& text);
// The control that has the keyboard focus in a window's thread, or null.
HWND Focus(HWND window);

RECT Rect(HWND window);
// A child's rectangle in its dialog's client coordinates.
RECT RectIn(HWND dialog, HWND child);

// One line per visible top-level window of a process: class, title and, for
// a message box, its text.  For failure reports.
std::string Describe(DWORD pid);

// A message box as the user sees it.  Wine keeps the text in control 0xFFFF
// and destroys the buttons that the box does not use.  A page can have a
// control 0xFFFF too (a static without an id): a box is known by its title.
inline constexpr int kMessageTextId = 0xFFFF;
struct MessageBoxView {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;
  std::vector<int> buttons;  // command ids of the buttons shown, ascending
};
MessageBoxView ViewMessageBox(HWND box);
// Waits for a visible message box of `pid` (0: of any process) with this
// title, or one for which `isBox` holds.
bool WaitMessageBox(DWORD pid, const char* title, unsigned timeoutMs, MessageBoxView* out);
bool WaitMessageBox(DWORD pid, bool (*isBox)(HWND), unsigned timeoutMs, MessageBoxView* out);
// Presses one of the box's buttons and waits for the box to go; false (and a
// reported failure) when it has no such button or stays.
bool Answer(const MessageBoxView& box, int id);
// Closes the box with its close box, as a user who answers nothing.
bool Dismiss(const MessageBoxView& box);

// Records every top-level window that the watched processes show, from a
// thread of its own polling every 10 ms, so that a test can ask afterwards
// what appeared: no page after a quit, no window from a second instance,
// exactly one message box.  Times are GetTickCount's.
struct WindowRecord {
  HWND hwnd;
  DWORD pid;
  std::string className;
  std::string title;
  unsigned long firstSeen;
  unsigned long firstVisible;  // kNever if never seen visible
  unsigned long lastVisible;   // last poll that saw it visible
  static constexpr unsigned long kNever = ~0ul;
};
void Watch(DWORD pid);
std::vector<WindowRecord> Seen(DWORD pid);
// The windows of `pid` seen on screen so far, the ones on screen now included.
std::set<HWND> SeenOnScreen(DWORD pid);

}  // namespace ui
