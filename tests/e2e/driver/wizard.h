// The wizard as a user walks it: which page is on screen, what it must show,
// moving between pages, and the ways to ask to quit.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "setup_process.h"
#include "support/ui.h"

enum class Page { Preparing, Welcome, Agreement, UserInfo, ScanChoice, Scan, Folder, Confirm, Copy, Tasks, Finish };
const char* PageName(Page page);

// The ways a user asks a page for button 2's question (or, on the finish
// page, for the finishing step).
enum class Ask { Button, Esc, CloseBox, CloseMessage, Enter };
const char* AskName(Ask how);

// Start-up up to the welcome page: slower than a page change.
constexpr unsigned kStartTimeoutMs = 40000;
constexpr unsigned kPageTimeoutMs = 15000;

class Wizard {
 public:
  explicit Wizard(SetupProcess& setup) : setup_(setup) {}

  // Waits for `page` to be the one page of setup on screen and checks what
  // every opening of it must show: caption, buttons, fixed texts, placement
  // and the focus.  Ends the scenario when it does not come.
  HWND Expect(Page page, unsigned timeoutMs = kPageTimeoutMs);
  // The preparing dialog, then the welcome page; `meanwhile` acts on the
  // preparing dialog while it is up.
  HWND ExpectStart(const std::function<void(HWND)>& meanwhile = nullptr);
  // Presses a button of the current page and waits for `next`.
  HWND Go(int button, Page next);
  // The same by a key (Enter).
  HWND GoByKey(UINT virtualKey, Page next);
  // Forward from the welcome page to `target` by the shortest way, with the
  // scan or without it.
  HWND WalkTo(Page target, bool scan = false);

  HWND PageWindow() const { return page_; }
  Page Current() const { return current_; }
  SetupProcess& Setup() { return setup_; }

  // Asks the question of button 2 by `how` and returns the box, checked to be
  // the quit confirmation (or, on the scan page, the scan's own question).
  ui::MessageBoxView OpenQuitQuestion(Ask how);
  // The question declined (Cancel, or its close box): the page stays exactly
  // as it was, with every text and check mark.
  void DeclineQuit(Ask how, bool closeTheBox = false);
  // The question accepted: setup ends at once with exit code 0, releases the
  // support library and shows no further page.
  void ConfirmQuit(Ask how);
  // Sends `how` to the page (button 2 or the finishing action).
  void Send(Ask how, int button = IDCANCEL);

  // Waits for the scan page's scan to complete and checks the completed state.
  void ExpectScanCompleted(unsigned timeoutMs = 60000);
  // Setup ends with exit code 0 and no window comes on screen beyond
  // `before`, the windows seen before the last action (ui::SeenOnScreen).
  void ExpectEndWithoutPage(const std::set<HWND>& before, const char* after);
  // The copy stops at the file `name`: one error message naming it, owned by
  // the backdrop, OK only; after it setup ends with exit code 0 and shows
  // nothing more.
  void ExpectCopyFailure(const std::string& name);

 private:
  void CheckPage(Page page, HWND window);
  std::vector<std::string> Snapshot(HWND window);

  SetupProcess& setup_;
  HWND page_ = nullptr;
  Page current_ = Page::Preparing;
};

// One of setup's message boxes.  Pages and the preparing dialog can have the
// text control of a message box too (a static without an id); the boxes are
// told apart by their titles.
bool IsMessageBox(HWND window);
// A visible window of `pid` that is a page (a dialog that is not a message box).
std::vector<HWND> VisiblePages(DWORD pid);
// Expects the library to have been released with FreeLibrary by `pid`.
void ExpectLibraryReleased(DWORD pid);
