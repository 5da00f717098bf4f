// The main window of CV32W.EXE and Schedule.EXE: the product's name, version
// and install folder at the top, a scan button, the list of findings and a
// status line.  One such window per process; closing it ends the program.
#pragma once
#include <windows.h>

#include "common/text.h"

// Child control ids of the product window.
enum ProductControl {
  kInfoTextId = 100,
  kScanButtonId = 101,
  kFindingsListId = 102,
  kStatusTextId = 103,
};

// What differs between the two programs.
struct ProductWindowKind {
  const char* className;
  const char* title;
  const char* scanButtonText;
  const char* readyText;        // the status line before the first scan
  void (*onScan)(HWND window);  // the scan button's work
};

// Registers the class, shows the window and runs the message loop until the
// window is closed; returns the exit code.  With scanAtStart the scan button's
// work starts as soon as the window is on screen.
int RunProductWindow(HINSTANCE instance, const ProductWindowKind& kind, int show, bool scanAtStart);

void SetStatusText(HWND window, const Text& text);
void AddFindingLine(HWND window, const Text& line);
void ClearFindings(HWND window);
void EnableScanButton(HWND window, bool enabled);
