// Driving the product's programs from a test in the same Wine prefix.
#include "ui.h"

#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
// A Wine message box keeps its text in this control.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
  DWORD processId;
  const std::string* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  Search* search = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search->processId && owner != search->processId) return TRUE;
  char className[256] = "";
  GetClassNameA(window, className, sizeof className);
  if (!search->className->empty() && *search->className != className) return TRUE;
  if (search->title && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

Started::~Started() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool Started::Start(const std::string& commandLine, const std::string& folder) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  return CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, folder.empty() ? NULL : folder.c_str(), &startup,
                        &info_) != 0;
}

bool Started::WaitForEnd(DWORD timeoutMs, DWORD* code) {
  if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (code) GetExitCodeProcess(info_.hProcess, code);
  return true;
}

std::string WindowText(HWND window) {
  char text[4096] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

HWND WaitForWindow(DWORD processId, const std::string& className, const char* title, DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += kPollMs) {
    Search search = {processId, &className, title, NULL};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found || waited >= timeoutMs) return search.found;
    Sleep(kPollMs);
  }
}

HWND WaitForMessageBox(const std::string& title, DWORD processId, DWORD timeoutMs) {
  HWND box = WaitForWindow(processId, "#32770", title.c_str(), timeoutMs);
  // The box is visible a moment before its text and buttons are settled.
  if (box) Sleep(200);
  return box;
}

std::string MessageBoxText(HWND box) {
  char text[4096] = "";
  GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
  return text;
}

bool IsDefaultButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button && (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void Press(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (button) PostMessageA(button, BM_CLICK, 0, 0);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  for (DWORD waited = 0; IsWindow(window); waited += kPollMs) {
    if (waited >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

HANDLE OpenOwnerProcess(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, owner);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolders(const std::string& folder) {
  for (std::size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
    CreateDirectoryA(folder.substr(0, at).c_str(), NULL);
  CreateDirectoryA(folder.c_str(), NULL);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

void DeleteTreeForTest(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTreeForTest(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}
