// Looking at and acting on windows.
#include "support/ui.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>

#include "support/report.h"
#include "support/text.h"

namespace ui {
namespace {

constexpr UINT kSendTimeoutMs = 3000;
constexpr UINT kRemoteSendTimeoutMs = 5000;
constexpr unsigned kBoxGoneTimeoutMs = 5000;

struct EnumState {
  DWORD pid;
  std::vector<HWND>* out;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  if (!state->pid || ProcessOf(window) == state->pid) state->out->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto* parentAndOut = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(param);
  // EnumChildWindows walks grandchildren too; keep the direct children.
  if (GetParent(window) == parentAndOut->first) parentAndOut->second->push_back(window);
  return TRUE;
}

bool IsTitledMessageBox(HWND window, const char* title) {
  return ClassName(window) == kDialogClass && GetDlgItem(window, kMessageTextId) && Title(window) == title;
}

bool WaitBox(DWORD pid, const std::function<bool(HWND)>& isBox, unsigned timeoutMs, MessageBoxView* out) {
  HWND found = nullptr;
  bool ok = WaitUntil(
      [&] {
        for (HWND window : TopLevel(pid)) {
          if (IsWindowVisible(window) && isBox(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  if (ok && out) *out = ViewMessageBox(found);
  return ok;
}

}  // namespace

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string Title(HWND window) {
  // GetWindowTextLengthA would send a message; a full buffer asks for a larger one.
  for (size_t size = 1024;; size *= 4) {
    std::string text(size, '\0');
    int length = GetWindowTextA(window, &text[0], static_cast<int>(size));
    if (length < 0) length = 0;
    if (static_cast<size_t>(length) < size - 1 || size >= (1u << 20)) {
      text.resize(length);
      return text;
    }
  }
}

std::string Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
    return Title(window);
  }
  // The length is in the sender's code page only approximately; leave room.
  std::string text(length * 2 + 16, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return Title(window);
  }
  text.resize(strlen(text.c_str()));
  return text;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

HANDLE OpenOwner(HWND window) { return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(window)); }

std::vector<HWND> TopLevel(DWORD pid) {
  std::vector<HWND> out;
  EnumState state{pid, &out};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return out;
}

HWND FindVisible(DWORD pid, const char* className, const char* title) {
  for (HWND window : TopLevel(pid)) {
    if (!IsWindowVisible(window)) continue;
    if (className && ClassName(window) != className) continue;
    if (title && Title(window) != title) continue;
    return window;
  }
  return nullptr;
}

HWND WaitVisible(DWORD pid, const char* className, const char* title, unsigned timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindVisible(pid, className, title)) != nullptr; }, timeoutMs, 50);
  return found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  std::pair<HWND, std::vector<HWND>*> param{parent, &out};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&param));
  return out;
}

bool WaitUntil(const std::function<bool()>& done, unsigned timeoutMs, unsigned stepMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(stepMs);
  }
}

bool WaitHidden(HWND window, unsigned timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

bool WaitGone(HWND window, unsigned timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

bool Enabled(HWND dialog, int id) {
  HWND item = Item(dialog, id);
  return item && IsWindowEnabled(item);
}

int Check(HWND dialog, int id) {
  HWND item = Item(dialog, id);
  DWORD_PTR state = 0;
  if (!item || !SendMessageTimeoutA(item, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state)) {
    return -1;
  }
  return static_cast<int>(state);
}

bool IsDefaultButton(HWND dialog, int id) {
  HWND button = Item(dialog, id);
  return button && (GetWindowLongA(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

bool Click(HWND dialog, int id) {
  HWND item = Item(dialog, id);
  if (!item) {
    report::Failure(text::Format("no control %d to click in %s", id, report::Show(Title(dialog)).c_str()));
    return false;
  }
  PostMessageA(item, BM_CLICK, 0, 0);
  return true;
}

HWND Focus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(ThreadOf(window), &info)) return nullptr;
  return info.hwndFocus;
}

void Key(HWND dialog, UINT virtualKey) {
  HWND target = Focus(dialog);
  if (!target || (target != dialog && !IsChild(dialog, target))) target = dialog;
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, 0)) << 16;
  PostMessageA(target, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageA(target, WM_KEYUP, virtualKey, scan | 0xC0000001);
}

void Type(HWND control, const char* text) {
  for (const char* p = text; *p; ++p) PostMessageA(control, WM_CHAR, static_cast<unsigned char>(*p), 1);
}

void CloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void CloseMessage(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void SetText(HWND control, const std::string& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                      kSendTimeoutMs, &result);
}

bool SendWithText(HWND window, UINT message, WPARAM wparam, const std::string& text) {
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, ProcessOf(window));
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, text.size() + 1, MEM_COMMIT, PAGE_READWRITE);
  SIZE_T written = 0;
  bool sent = remote && WriteProcessMemory(process, remote, text.c_str(), text.size() + 1, &written);
  if (sent) {
    DWORD_PTR result = 0;
    sent = SendMessageTimeoutA(window, message, wparam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                               kRemoteSendTimeoutMs, &result) != 0;
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent;
}

RECT Rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RectIn(HWND dialog, HWND child) {
  RECT rect = Rect(child);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(DWORD pid) {
  std::string out;
  for (HWND window : TopLevel(pid)) {
    if (!IsWindowVisible(window)) continue;
    out += text::Format("\n    window %s %s", ClassName(window).c_str(), report::Show(Title(window)).c_str());
    if (HWND message = GetDlgItem(window, kMessageTextId)) out += " text " + report::Show(Title(message));
  }
  return out.empty() ? std::string("\n    (no visible window)") : out;
}

MessageBoxView ViewMessageBox(HWND box) {
  MessageBoxView view;
  view.hwnd = box;
  view.title = Title(box);
  view.text = Title(GetDlgItem(box, kMessageTextId));
  for (int id = IDOK; id <= IDCONTINUE; ++id) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) view.buttons.push_back(id);
  }
  return view;
}

bool WaitMessageBox(DWORD pid, const char* title, unsigned timeoutMs, MessageBoxView* out) {
  return WaitBox(pid, [&](HWND window) { return IsTitledMessageBox(window, title); }, timeoutMs, out);
}

bool WaitMessageBox(DWORD pid, bool (*isBox)(HWND), unsigned timeoutMs, MessageBoxView* out) {
  return WaitBox(pid, isBox, timeoutMs, out);
}

bool Answer(const MessageBoxView& box, int id) {
  HWND button = GetDlgItem(box.hwnd, id);
  if (!button) {
    report::Failure(text::Format("message box %s has no button %d", report::Show(box.title).c_str(), id));
    return false;
  }
  PostMessageA(button, BM_CLICK, 0, 0);
  if (WaitHidden(box.hwnd, kBoxGoneTimeoutMs)) return true;
  report::Failure(text::Format("message box %s stayed after button %d", report::Show(box.title).c_str(), id));
  return false;
}

bool Dismiss(const MessageBoxView& box) {
  CloseBox(box.hwnd);
  if (WaitHidden(box.hwnd, kBoxGoneTimeoutMs)) return true;
  report::Failure(text::Format("message box %s stayed after its close box", report::Show(box.title).c_str()));
  return false;
}

// ---- the window watcher ----

namespace {

std::mutex g_watchMutex;
std::set<DWORD> g_watched;
std::map<HWND, WindowRecord> g_records;
bool g_watching = false;

void PollOnce() {
  std::vector<HWND> windows = TopLevel(0);
  unsigned long now = GetTickCount();
  std::lock_guard<std::mutex> lock(g_watchMutex);
  for (HWND window : windows) {
    DWORD pid = ProcessOf(window);
    if (!g_watched.count(pid)) continue;
    bool visible = IsWindowVisible(window);
    auto found = g_records.find(window);
    if (found == g_records.end()) {
      WindowRecord record{window, pid, ClassName(window), Title(window), now, WindowRecord::kNever,
                          WindowRecord::kNever};
      found = g_records.emplace(window, record).first;
    }
    WindowRecord& record = found->second;
    if (visible) {
      if (record.firstVisible == WindowRecord::kNever) {
        record.firstVisible = now;
        record.title = Title(window);
      }
      record.lastVisible = now;
    }
  }
}

}  // namespace

void Watch(DWORD pid) {
  std::lock_guard<std::mutex> lock(g_watchMutex);
  g_watched.insert(pid);
  if (g_watching) return;
  g_watching = true;
  std::thread([] {
    for (;;) {
      PollOnce();
      Sleep(10);
    }
  }).detach();
}

std::vector<WindowRecord> Seen(DWORD pid) {
  PollOnce();
  std::lock_guard<std::mutex> lock(g_watchMutex);
  std::vector<WindowRecord> out;
  for (const auto& entry : g_records) {
    if (entry.second.pid == pid) out.push_back(entry.second);
  }
  std::sort(out.begin(), out.end(),
            [](const WindowRecord& a, const WindowRecord& b) { return a.firstSeen < b.firstSeen; });
  return out;
}

std::set<HWND> SeenOnScreen(DWORD pid) {
  std::set<HWND> out;
  for (const WindowRecord& record : Seen(pid)) {
    if (record.firstVisible != WindowRecord::kNever) out.insert(record.hwnd);
  }
  return out;
}

}  // namespace ui
