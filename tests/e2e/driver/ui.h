// Looking at and acting on the windows of another process of the prefix:
// finding them, reading texts and states, pressing buttons and keys, and a
// watcher that records every top-level window a watched process shows.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace ui {

std::string ClassName(HWND window);
// The window's own text as the system keeps it; sends no message, so it also
// works while the owning program is busy (caption, button and static texts).
std::string Title(HWND window);
// WM_GETTEXT with a time limit: the text of an edit control.
std::string Text(HWND window);
DWORD ProcessOf(HWND window);
DWORD ThreadOf(HWND window);

// Top-level windows of a process, hidden ones included, in Z order.
std::vector<HWND> TopLevel(DWORD pid);
// The first visible top-level window of `pid` with this class and (unless
// null) this title.
HWND FindVisible(DWORD pid, const char* class_name, const char* title);
// Direct children of a window, in template order.
std::vector<HWND> Children(HWND parent);

// Polls `done` every `step_ms` until it holds or `timeout_ms` passes.
bool WaitUntil(const std::function<bool()>& done, unsigned timeout_ms, unsigned step_ms = 15);
// Gone, or no longer visible.
bool WaitHidden(HWND window, unsigned timeout_ms);

HWND Item(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
// BM_GETCHECK; -1 when the program does not answer.
int Check(HWND dialog, int id);

// Posted like a mouse click on the button.
void Click(HWND dialog, int id);
// Posted key press (WM_KEYDOWN, WM_KEYUP) to the control that has the focus in
// the dialog's thread (the dialog itself when none has): what the dialog
// manager sees when the user presses the key.
void Key(HWND dialog, UINT virtual_key);
// Posted characters, as typed into an edit control (ASCII only).
void Type(HWND control, const char* text);
// The close box of the caption, and WM_CLOSE as other programs send it.
void CloseBox(HWND window);
void CloseMessage(HWND window);
// WM_SETTEXT sent with a time limit (code page 949 text, converted by the system).
void SetText(HWND control, const std::string& text);
// The control that has the keyboard focus in a window's thread, or null.
HWND Focus(HWND window);

RECT Rect(HWND window);

// One line per visible top-level window of a process: class, title and, for
// a message box, its text.  For failure reports.
std::string Describe(DWORD pid);

// A message box as the user sees it.  Wine keeps the text in control 0xFFFF
// and destroys the buttons that the box does not use.
struct MessageBoxView {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;
  std::vector<int> buttons;  // command ids of the buttons shown, ascending
};
bool IsMessageBox(HWND window);
MessageBoxView ViewMessageBox(HWND box);
// Waits for a visible message box of `pid` with this title (any title if null).
bool WaitMessageBox(DWORD pid, const char* title, unsigned timeout_ms, MessageBoxView* out);
// Presses one of the box's buttons and waits for the box to go.
bool Answer(const MessageBoxView& box, int id);
// Closes the box with its close box, as a user who answers nothing.
bool Dismiss(const MessageBoxView& box);

// Records every top-level window that the watched processes show, from a
// thread of its own polling every 10 ms, so that a scenario can ask
// afterwards what appeared: no page after a quit, no window from a second
// instance, exactly one message box.
struct WindowRecord {
  HWND hwnd;
  DWORD pid;
  std::string class_name;
  std::string title;
  std::string message_text;            // for message boxes
  unsigned long first_seen;            // driver time, ms
  unsigned long first_visible;         // kNever if never seen visible
  unsigned long last_visible;          // last poll that saw it visible
  static constexpr unsigned long kNever = ~0ul;
};
void Watch(DWORD pid);
std::vector<WindowRecord> Seen(DWORD pid);
// The windows of `pid` seen on screen so far, the ones on screen now included.
std::set<HWND> SeenOnScreen(DWORD pid);

}  // namespace ui
