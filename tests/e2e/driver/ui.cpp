// Looking at and acting on the windows of another process of the prefix.
#include "ui.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "check.h"
#include "texts.h"

namespace ui {
namespace {

constexpr UINT kSendTimeoutMs = 3000;

struct EnumState {
  DWORD pid;
  std::vector<HWND>* out;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  if (ProcessOf(window) == state->pid) state->out->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto* parent_and_out = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(param);
  // EnumChildWindows walks grandchildren too; keep the direct children.
  if (GetParent(window) == parent_and_out->first) parent_and_out->second->push_back(window);
  return TRUE;
}

}  // namespace

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string Title(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
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

std::vector<HWND> TopLevel(DWORD pid) {
  std::vector<HWND> out;
  EnumState state{pid, &out};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return out;
}

HWND FindVisible(DWORD pid, const char* class_name, const char* title) {
  for (HWND window : TopLevel(pid)) {
    if (!IsWindowVisible(window)) continue;
    if (class_name && ClassName(window) != class_name) continue;
    if (title && Title(window) != title) continue;
    return window;
  }
  return nullptr;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  std::pair<HWND, std::vector<HWND>*> param{parent, &out};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&param));
  return out;
}

bool WaitUntil(const std::function<bool()>& done, unsigned timeout_ms, unsigned step_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    Sleep(step_ms);
  }
}

bool WaitHidden(HWND window, unsigned timeout_ms) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout_ms);
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

void Click(HWND dialog, int id) {
  HWND item = Item(dialog, id);
  if (!item) {
    Fail("no control %d to click in %s", id, Show(Title(dialog)).c_str());
    return;
  }
  PostMessageA(item, BM_CLICK, 0, 0);
}

HWND Focus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(ThreadOf(window), &info)) return nullptr;
  return info.hwndFocus;
}

void Key(HWND dialog, UINT virtual_key) {
  HWND target = Focus(dialog);
  if (!target || (target != dialog && !IsChild(dialog, target))) target = dialog;
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtual_key, 0)) << 16;
  PostMessageA(target, WM_KEYDOWN, virtual_key, scan | 1);
  PostMessageA(target, WM_KEYUP, virtual_key, scan | 0xC0000001);
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

RECT Rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::string Describe(DWORD pid) {
  std::string out;
  for (HWND window : TopLevel(pid)) {
    if (!IsWindowVisible(window)) continue;
    out += Format("\n    window %s %s", ClassName(window).c_str(), Show(Title(window)).c_str());
    if (HWND text = GetDlgItem(window, 0xFFFF)) out += " text " + Show(Title(text));
  }
  return out.empty() ? std::string("\n    (no visible window)") : out;
}

bool IsMessageBox(HWND window) {
  if (ClassName(window) != texts::kDialogClass || !GetDlgItem(window, 0xFFFF)) return false;
  // Pages and the preparing dialog can have a control 0xFFFF too (a static
  // without an id); message boxes are told apart by their titles.
  std::string title = Title(window);
  return title == texts::kQuitTitle || title == texts::kErrorTitle || title == "바이러스 발견";
}

MessageBoxView ViewMessageBox(HWND box) {
  MessageBoxView view;
  view.hwnd = box;
  view.title = Title(box);
  view.text = Title(GetDlgItem(box, 0xFFFF));
  for (int id = IDOK; id <= IDCONTINUE; ++id) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) view.buttons.push_back(id);
  }
  return view;
}

bool WaitMessageBox(DWORD pid, const char* title, unsigned timeout_ms, MessageBoxView* out) {
  HWND found = nullptr;
  bool ok = WaitUntil(
      [&] {
        for (HWND window : TopLevel(pid)) {
          if (!IsWindowVisible(window) || !IsMessageBox(window)) continue;
          if (title && Title(window) != title) continue;
          found = window;
          return true;
        }
        return false;
      },
      timeout_ms);
  if (ok && out) *out = ViewMessageBox(found);
  return ok;
}

bool Answer(const MessageBoxView& box, int id) {
  HWND button = GetDlgItem(box.hwnd, id);
  if (!button) {
    Fail("message box %s has no button %d", Show(box.title).c_str(), id);
    return false;
  }
  PostMessageA(button, BM_CLICK, 0, 0);
  if (WaitHidden(box.hwnd, 5000)) return true;
  Fail("message box %s stayed after button %d", Show(box.title).c_str(), id);
  return false;
}

bool Dismiss(const MessageBoxView& box) {
  CloseBox(box.hwnd);
  if (WaitHidden(box.hwnd, 5000)) return true;
  Fail("message box %s stayed after its close box", Show(box.title).c_str());
  return false;
}

// ---- the window watcher ----

namespace {

std::mutex g_watch_mutex;
std::set<DWORD> g_watched;
std::map<HWND, WindowRecord> g_records;
bool g_watching = false;

BOOL CALLBACK CollectAll(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

void PollOnce() {
  std::vector<HWND> windows;
  EnumWindows(CollectAll, reinterpret_cast<LPARAM>(&windows));
  unsigned long now = Elapsed();
  std::lock_guard<std::mutex> lock(g_watch_mutex);
  for (HWND window : windows) {
    DWORD pid = ProcessOf(window);
    if (!g_watched.count(pid)) continue;
    bool visible = IsWindowVisible(window);
    auto found = g_records.find(window);
    if (found == g_records.end()) {
      WindowRecord record{window, pid, ClassName(window), Title(window), "", now,
                          WindowRecord::kNever, WindowRecord::kNever};
      found = g_records.emplace(window, record).first;
    }
    WindowRecord& record = found->second;
    if (visible) {
      if (record.first_visible == WindowRecord::kNever) {
        record.first_visible = now;
        record.title = Title(window);
        if (IsMessageBox(window)) record.message_text = Title(GetDlgItem(window, 0xFFFF));
      }
      record.last_visible = now;
    }
  }
}

}  // namespace

void Watch(DWORD pid) {
  std::lock_guard<std::mutex> lock(g_watch_mutex);
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
  std::lock_guard<std::mutex> lock(g_watch_mutex);
  std::vector<WindowRecord> out;
  for (const auto& entry : g_records) {
    if (entry.second.pid == pid) out.push_back(entry.second);
  }
  std::sort(out.begin(), out.end(),
            [](const WindowRecord& a, const WindowRecord& b) { return a.first_seen < b.first_seen; });
  return out;
}

std::set<HWND> SeenOnScreen(DWORD pid) {
  std::set<HWND> out;
  for (const WindowRecord& record : Seen(pid)) {
    if (record.first_visible != WindowRecord::kNever) out.insert(record.hwnd);
  }
  return out;
}

}  // namespace ui
