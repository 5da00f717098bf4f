// Driving the product's programs from a test in the same Wine prefix:
// starting them, finding their windows and message boxes, pressing buttons.
#pragma once
#include <windows.h>

#include <string>

// A started program; the handles are closed by the destructor, and a program
// still running then is ended.
class Started {
 public:
  Started() = default;
  ~Started();
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  // CreateProcessA with exactly this command line, in `folder` ("" keeps the
  // test's own).
  bool Start(const std::string& commandLine, const std::string& folder = "");
  // Waits for the end; false on time-out.  The exit code goes to `code`.
  bool WaitForEnd(DWORD timeoutMs, DWORD* code = nullptr);
  DWORD id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_ = {};
};

std::string WindowText(HWND window);

// The first visible top-level window of the process (0: any process) with
// this class ("" any) and title (null: any), within the time-out; null when
// none came.
HWND WaitForWindow(DWORD processId, const std::string& className, const char* title, DWORD timeoutMs);

// A message box with this title; its text, its buttons (absent ones are
// destroyed, so null), pressing one.
HWND WaitForMessageBox(const std::string& title, DWORD processId, DWORD timeoutMs);
std::string MessageBoxText(HWND box);
bool IsDefaultButton(HWND box, int id);
void Press(HWND box, int id);

// Waits for the window to go away; false on time-out.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// The process that owns a window, opened to wait for its end.
HANDLE OpenOwnerProcess(HWND window);

// Files and folders.
bool Exists(const std::string& path);
void MakeFolders(const std::string& folder);
bool WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
void DeleteTreeForTest(const std::string& folder);
