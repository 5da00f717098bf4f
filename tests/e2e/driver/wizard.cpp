// The wizard as a user walks it.
#include "wizard.h"

#include <algorithm>

#include "check.h"
#include "texts.h"

namespace {

struct ButtonSpec {
  int id;
  const char* text;
};

enum class Placement { Centred, BelowLogo };

struct PageSpec {
  Page page;
  const char* name;
  const char* caption;
  int marker;  // a control that tells apart pages with the same caption; 0: none
  std::vector<ButtonSpec> buttons;
  std::vector<int> absent;  // command ids that the page must not have
  std::vector<const char*> texts;  // fixed texts of its controls
  Placement placement;
  bool focusOnNext;  // the page gives the focus to button 1 when it opens
};

const std::vector<PageSpec>& Specs() {
  using namespace texts;
  static const std::vector<PageSpec> specs = {
      {Page::Preparing, "preparing dialog", kPreparing, 0, {}, {IDOK}, {"현재 코르바네™을 설치하기 위한 설치 마법사를 준비하고 있습니다. 설치 마법사가 준비되는 동안 잠시만 기다려주십시오..."},
       Placement::BelowLogo, false},
      {Page::Welcome, "welcome page", kWelcome, 0, {{IDOK, kNext}, {IDCANCEL, kCancel}}, {4, 5},
       {"이 프로그램은 코르바네™을 당신의 컴퓨터에 설치하기 위한 설치 마법사입니다.",
        "코르바네™을 안전하게 설치할려면 가능한 모든 응용 프로그램들을 종료하시는것이 좋습니다. ",
        "만약, 응용 프로그램이 실행되고 있다면 설치 마법사의 실행을 방해할수도 있기 때문입니다.",
        "언제든지 [취소] 버튼을 누르시면 설치를 중단하실수 있습니다. 계속적인 설치를 원하시면 [다음] 버튼을 누르시면 됩니다."},
       Placement::Centred, true},
      {Page::Agreement, "agreement page", kAgreement, 0, {{IDOK, kYes}, {IDCANCEL, kNo}, {4, kBack}}, {5},
       {"아래의 동의서를 읽어보시고 판단하시기 바랍니다.\n동의서의 내용을 위반시 법적 재제를 받으실수 있습니다.",
        "위 내용에 동의하십니까? [아니오] 버튼을 선택하면 설치를 종료합니다."},
       Placement::Centred, true},
      {Page::UserInfo, "user-information page", kUserInfo, 0, {{IDOK, kNext}, {IDCANCEL, kCancel}, {4, kBack}}, {5},
       {"이름 :", "회사 :"}, Placement::Centred, true},
      {Page::ScanChoice, "scan-choice page", kScanChoice, 1016, {{IDOK, kNext}, {IDCANCEL, kCancel}}, {4, 5},
       {"중요 폴더에 바이러스가 존재하는지 검사합니다.\n바이러스는 코르바네™ 설치시 방해가 되기 때문입니다.", kScanFirst,
        kScanSkip},
       Placement::Centred, true},
      {Page::Scan, "scan page", kScan, 1023, {{IDOK, kNext}, {IDCANCEL, kCancel}}, {4, 5},
       {"검사    파일 :", "검사 파일수 :", "감염 파일수 :", "치료 파일수 :", "삭제 파일수 :", "최근 진단 바이러스 명 :"},
       Placement::Centred, false},
      {Page::Folder, "install-folder page", kFolder, 0,
       {{IDOK, kNext}, {IDCANCEL, kCancel}, {4, kBack}, {5, kBrowse}}, {},
       {"코르바네™을 설치하기 위해 폴더를 선택하셔야 합니다.",
        "기본으로 선택된 폴더에 설치하시려면 [다음] 버튼을 누르세요.", "설치 폴더"},
       Placement::Centred, true},
      {Page::Confirm, "confirmation page", kConfirm, 0, {{IDOK, kNext}, {IDCANCEL, kCancel}, {4, kBack}}, {5},
       {"현재 설정 :"}, Placement::Centred, true},
      {Page::Copy, "copy page", kCopy, 0, {{IDCANCEL, kCancel}}, {IDOK, 4, 5}, {}, Placement::BelowLogo, false},
      {Page::Tasks, "task page", kTasks, 0, {{IDOK, kNext}, {IDCANCEL, kCancel}}, {4, 5},
       {kTaskSafeBoot, kTaskRescueDisk, kTaskUpdate, kTaskScheduled, kTaskRunProduct}, Placement::Centred, true},
      {Page::Finish, "finish page", kFinish, 0, {{IDOK, kFinishButton}}, {IDCANCEL, 4, 5}, {kFinishLine},
       Placement::Centred, true},
  };
  return specs;
}

const PageSpec& SpecOf(Page page) {
  for (const PageSpec& spec : Specs()) {
    if (spec.page == page) return spec;
  }
  Abort("no description of page %d", static_cast<int>(page));
}

bool IsPageOf(const PageSpec& spec, HWND window) {
  return ui::Title(window) == spec.caption && (!spec.marker || ui::Item(window, spec.marker));
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void ExpectBar(HWND dialog, int id, RECT want, const char* where) {
  HWND bar = ui::Item(dialog, id);
  if (!bar || ui::ClassName(bar) != texts::kBarClass) {
    Fail("%s has no progress bar with id %d", where, id);
    return;
  }
  RECT got = ui::RectIn(dialog, bar);
  if (got.left != want.left || got.top != want.top || got.right - got.left != want.right ||
      got.bottom - got.top != want.bottom) {
    Fail("%s: bar at %ld,%ld size %ldx%ld, expected %ld,%ld size %ldx%ld", where, got.left, got.top,
         got.right - got.left, got.bottom - got.top, want.left, want.top, want.right, want.bottom);
  }
}

}  // namespace

const char* PageName(Page page) { return SpecOf(page).name; }

const char* AskName(Ask how) {
  switch (how) {
    case Ask::Button: return "the button";
    case Ask::Esc: return "Esc";
    case Ask::CloseBox: return "the close box";
    case Ask::CloseMessage: return "WM_CLOSE";
    case Ask::Enter: return "Enter";
  }
  return "?";
}

bool IsMessageBox(HWND window) {
  if (ui::ClassName(window) != ui::kDialogClass || !ui::Item(window, ui::kMessageTextId)) return false;
  std::string title = ui::Title(window);
  return title == texts::kQuitTitle || title == texts::kErrorTitle || title == texts::kVirusFoundTitle;
}

std::vector<HWND> VisiblePages(DWORD pid) {
  std::vector<HWND> pages;
  for (HWND window : ui::TopLevel(pid)) {
    if (IsWindowVisible(window) && ui::ClassName(window) == ui::kDialogClass && !IsMessageBox(window)) {
      pages.push_back(window);
    }
  }
  return pages;
}

void ExpectLibraryReleased(DWORD pid) {
  std::vector<std::string> events = LibraryEvents(Bench().setupdllLoadLog, pid);
  bool freed = std::any_of(events.begin(), events.end(), [](const std::string& e) { return e.rfind("free", 0) == 0; });
  if (!freed) {
    std::string all;
    for (const std::string& e : events) all += "\n    " + e;
    Fail("_SETUP.DLL was not released with FreeLibrary before the end; its events:%s",
         all.empty() ? " none" : all.c_str());
  }
}

HWND Wizard::Expect(Page page, unsigned timeoutMs) {
  const PageSpec& spec = SpecOf(page);
  DWORD pid = setup_.Pid();
  HWND found = nullptr;
  ui::MessageBoxView box;
  bool boxSeen = false;
  ui::WaitUntil(
      [&] {
        if (!setup_.Running()) return true;
        for (HWND window : ui::TopLevel(pid)) {
          if (!IsWindowVisible(window) || window == page_) continue;
          if (IsMessageBox(window)) {
            box = ui::ViewMessageBox(window);
            boxSeen = true;
            return true;
          }
          if (ui::ClassName(window) == ui::kDialogClass && IsPageOf(spec, window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  if (!found) {
    DWORD code = 0;
    if (boxSeen) {
      Abort("waiting for the %s, a message box came instead: %s %s", spec.name, Show(box.title).c_str(),
            Show(box.text).c_str());
    }
    if (setup_.WaitEnd(0, &code)) Abort("SETUP.EXE ended (exit code 0x%lX) instead of showing the %s", code, spec.name);
    Abort("the %s did not open within %u ms; on screen:%s", spec.name, timeoutMs, DescribeScreen().c_str());
  }
  page_ = found;
  current_ = page;
  Note("%s on screen", spec.name);
  CheckPage(page, found);
  return found;
}

void Wizard::CheckPage(Page page, HWND window) {
  const PageSpec& spec = SpecOf(page);
  DWORD pid = setup_.Pid();
  // The page before must be gone: one page at a time.
  if (!ui::WaitUntil([&] { return VisiblePages(pid).size() == 1; }, 1000)) {
    Fail("with the %s, other pages stay on screen:%s", spec.name, ui::Describe(pid).c_str());
  }
  for (const ButtonSpec& button : spec.buttons) {
    HWND item = ui::Item(window, button.id);
    if (!item || !IsWindowVisible(item)) {
      Fail("%s has no button %d", spec.name, button.id);
    } else {
      ExpectText(ui::Title(item), button.text, Format("%s button %d", spec.name, button.id).c_str());
    }
  }
  for (int id : spec.absent) {
    HWND item = ui::Item(window, id);
    if (item && ui::ClassName(item) == "Button") Fail("%s has a button %d, which it must not have", spec.name, id);
  }
  std::vector<std::string> shown;
  for (HWND child : ui::Children(window)) shown.push_back(ui::Title(child));
  for (const char* text : spec.texts) {
    if (std::find(shown.begin(), shown.end(), text) == shown.end()) {
      Fail("%s does not show the text %s", spec.name, Show(text).c_str());
    }
  }
  RECT rect = ui::Rect(window);
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  int wantX = (ScreenWidth() - w) / 2;
  int wantY = spec.placement == Placement::Centred ? (ScreenHeight() - h) / 2 : (ScreenHeight() - 450) / 2 + 450 - h;
  if (rect.left != wantX || rect.top != wantY) {
    Fail("%s (%dx%d) at %ld,%ld, expected %d,%d", spec.name, w, h, rect.left, rect.top, wantX, wantY);
  }
  if (spec.focusOnNext) {
    HWND next = ui::Item(window, IDOK);
    if (!ui::WaitUntil([&] { return ui::Focus(window) == next; }, 2000)) {
      HWND focus = ui::Focus(window);
      Fail("%s: the focus is on %s (id %d), not on button 1", spec.name,
           focus ? Show(ui::Title(focus)).c_str() : "nothing", focus ? GetDlgCtrlID(focus) : 0);
    }
  }
}

HWND Wizard::ExpectStart(const std::function<void(HWND)>& meanwhile) {
  DWORD pid = setup_.Pid();
  HWND preparing = Expect(Page::Preparing, kStartTimeoutMs);
  if (meanwhile) meanwhile(preparing);
  ExpectBar(preparing, 2, RECT{70, 66, 280, 21}, "preparing dialog");
  HWND logo = ui::FindVisible(pid, texts::kLogoClass, nullptr);
  if (!logo) {
    Fail("no logo window on screen with the preparing dialog");
  } else {
    RECT rect = ui::Rect(logo);
    RECT want{(ScreenWidth() - 400) / 2, (ScreenHeight() - 400) / 2, 0, 0};
    want.right = want.left + 400;
    want.bottom = want.top + 244;
    if (!EqualRect(&rect, &want)) {
      Fail("logo window at %ld,%ld-%ld,%ld, expected %ld,%ld-%ld,%ld", rect.left, rect.top, rect.right, rect.bottom,
           want.left, want.top, want.right, want.bottom);
    }
  }
  if (ui::FindVisible(pid, texts::kBackdropClass, texts::kBackdropTitle)) {
    Fail("the backdrop is on screen during the preparing dialog");
  }
  HWND welcome = Expect(Page::Welcome, kStartTimeoutMs);
  if (IsWindow(preparing) && IsWindowVisible(preparing)) Fail("the preparing dialog stays with the welcome page");
  if (logo && IsWindowVisible(logo)) Fail("the logo window stays on screen with the welcome page");
  HWND backdrop = ui::FindVisible(pid, texts::kBackdropClass, texts::kBackdropTitle);
  if (!backdrop) {
    Fail("no backdrop window (class Corvane_Setup, title Corvane Setup) behind the welcome page");
  } else {
    RECT rect = ui::Rect(backdrop);
    if (rect.right - rect.left != ScreenWidth() + 1 || rect.bottom - rect.top != ScreenHeight() + 1) {
      Fail("backdrop is %ldx%ld, expected one pixel more than the screen, %dx%d", rect.right - rect.left,
           rect.bottom - rect.top, ScreenWidth() + 1, ScreenHeight() + 1);
    }
  }
  for (const ui::WindowRecord& record : ui::Seen(pid)) {
    if (record.hwnd == preparing && record.lastVisible != ui::WindowRecord::kNever) {
      double shown = (record.lastVisible - record.firstVisible) / 1000.0;
      Note("preparing dialog was on screen for %.2f s", shown);
      // Its fixed waits alone take 5.01 s; only a dialog ended early is shorter.
      if (shown < 4.8) Fail("the preparing dialog closed after %.2f s, before its waits were over", shown);
    }
  }
  return welcome;
}

HWND Wizard::Go(int button, Page next) {
  if (!ui::Enabled(page_, button)) Fail("%s: button %d is not enabled", PageName(current_), button);
  ui::Click(page_, button);
  return Expect(next);
}

HWND Wizard::GoByKey(UINT virtualKey, Page next) {
  ui::Key(page_, virtualKey);
  return Expect(next);
}

HWND Wizard::WalkTo(Page target, bool scan) {
  while (current_ != target) {
    switch (current_) {
      case Page::Preparing: ExpectStart(); break;
      case Page::Welcome: Go(IDOK, Page::Agreement); break;
      case Page::Agreement: Go(IDOK, Page::UserInfo); break;
      case Page::UserInfo: Go(IDOK, Page::ScanChoice); break;
      case Page::ScanChoice:
        if (scan) {
          Go(IDOK, Page::Scan);
        } else {
          ui::Click(page_, 1017);
          if (!ui::WaitUntil([&] { return ui::Check(page_, 1017) == BST_CHECKED; }, 3000)) {
            Abort("radio button 1017 does not take the check");
          }
          Go(IDOK, Page::Folder);
        }
        break;
      case Page::Scan:
        ExpectScanCompleted();
        Go(IDOK, Page::Folder);
        break;
      case Page::Folder: Go(IDOK, Page::Confirm); break;
      case Page::Confirm: Go(IDOK, Page::Copy); break;
      case Page::Copy: Expect(Page::Tasks, 60000); break;
      case Page::Tasks: Go(IDOK, Page::Finish); break;
      case Page::Finish: Abort("cannot walk past the finish page");
    }
  }
  return page_;
}

void Wizard::Send(Ask how, int button) {
  switch (how) {
    case Ask::Button: ui::Click(page_, button); break;
    case Ask::Esc: ui::Key(page_, VK_ESCAPE); break;
    case Ask::Enter: ui::Key(page_, VK_RETURN); break;
    case Ask::CloseBox: ui::CloseBox(page_); break;
    case Ask::CloseMessage: ui::CloseMessage(page_); break;
  }
}

std::vector<std::string> Wizard::Snapshot(HWND window) {
  std::vector<std::string> state;
  for (HWND child : ui::Children(window)) {
    std::string line = Format("%d %s %s", GetDlgCtrlID(child), IsWindowEnabled(child) ? "on" : "off",
                              Show(ui::Text(child)).c_str());
    if (ui::ClassName(child) == "Button") line += Format(" check %d", ui::Check(window, GetDlgCtrlID(child)));
    state.push_back(line);
  }
  return state;
}

ui::MessageBoxView Wizard::OpenQuitQuestion(Ask how) {
  Send(how);
  ui::MessageBoxView box;
  if (!ui::WaitMessageBox(setup_.Pid(), IsMessageBox, 5000, &box)) {
    Abort("%s on the %s brought no question; on screen:%s", AskName(how), PageName(current_),
          DescribeScreen().c_str());
  }
  std::string label = Format("question of %s on the %s", AskName(how), PageName(current_));
  ExpectText(box.title, texts::kQuitTitle, (label + ", title").c_str());
  bool scan = current_ == Page::Scan;
  ExpectText(box.text, scan ? texts::kScanQuitText : texts::kQuitText, (label + ", text").c_str());
  std::vector<int> want = scan ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK, IDCANCEL};
  if (box.buttons != want) {
    std::string seen;
    for (int id : box.buttons) seen += Format(" %d", id);
    Fail("%s: buttons%s, expected %s", label.c_str(), seen.c_str(), scan ? "Yes and No" : "OK and Cancel");
  }
  if (GetWindow(box.hwnd, GW_OWNER) != page_) Fail("%s is not owned by the page", label.c_str());
  return box;
}

void Wizard::DeclineQuit(Ask how, bool closeTheBox) {
  // The copy and scan pages change their texts while their work runs.
  bool stable = current_ != Page::Copy && current_ != Page::Scan;
  std::vector<std::string> before;
  if (stable) before = Snapshot(page_);
  ui::MessageBoxView box = OpenQuitQuestion(how);
  if (current_ == Page::Scan) {
    ui::Answer(box, IDNO);
  } else if (closeTheBox) {
    ui::Dismiss(box);
  } else {
    ui::Answer(box, IDCANCEL);
  }
  const char* name = PageName(current_);
  if (!IsWindow(page_) || !IsWindowVisible(page_)) Abort("the %s went away after the question was declined", name);
  std::vector<HWND> pages = VisiblePages(setup_.Pid());
  if (pages.size() != 1) Fail("after the declined question %zu pages are on screen", pages.size());
  if (stable) {
    std::vector<std::string> after = Snapshot(page_);
    if (after != before) {
      for (size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        std::string b = i < before.size() ? before[i] : "(none)";
        std::string a = i < after.size() ? after[i] : "(none)";
        if (a != b) Fail("%s changed after the declined question: control %s became %s", name, b.c_str(), a.c_str());
      }
    }
  }
  Note("%s: question of %s declined%s, the page stays", name, AskName(how), closeTheBox ? " by its close box" : "");
}

void Wizard::ExpectEndWithoutPage(const std::set<HWND>& before, const char* after) {
  setup_.ExpectEnd(10000, after);
  setup_.ExpectNoWindow(Format("after %s", after).c_str(), before);
}

void Wizard::ExpectCopyFailure(const std::string& name) {
  ui::MessageBoxView box;
  if (!ui::WaitMessageBox(setup_.Pid(), IsMessageBox, 40000, &box)) {
    Abort("no message after the failed file; on screen:%s", DescribeScreen().c_str());
  }
  ExpectText(box.title, texts::kErrorTitle, "copy failure message title");
  ExpectText(box.text, Format(texts::kCopyFailedFormat, name.c_str()), "copy failure message");
  if (box.buttons != std::vector<int>{IDOK}) Fail("the copy failure message has buttons other than OK");
  HWND backdrop = ui::FindVisible(setup_.Pid(), texts::kBackdropClass, texts::kBackdropTitle);
  if (GetWindow(box.hwnd, GW_OWNER) != backdrop) Fail("the copy failure message is not owned by the backdrop");
  std::set<HWND> before = ui::SeenOnScreen(setup_.Pid());
  ui::Answer(box, IDOK);
  ExpectEndWithoutPage(before, "the copy failure message");
}

void Wizard::ConfirmQuit(Ask how) {
  ui::MessageBoxView box = OpenQuitQuestion(how);
  std::set<HWND> before = ui::SeenOnScreen(setup_.Pid());
  std::string after = Format("the quit confirmed on the %s", PageName(current_));
  ui::Answer(box, current_ == Page::Scan ? IDYES : IDOK);
  ExpectEndWithoutPage(before, after.c_str());
  ExpectLibraryReleased(setup_.Pid());
}

void Wizard::ExpectScanCompleted(unsigned timeoutMs) {
  HWND page = page_;
  bool done = ui::WaitUntil(
      [&] {
        return ui::Enabled(page, IDOK) && !ui::Enabled(page, IDCANCEL) &&
               ui::Title(ui::Item(page, 1019)) == texts::kScanDone;
      },
      timeoutMs);
  if (!done) {
    Abort("the scan did not reach its completed state: Next %s, Cancel %s, field 1019 %s",
          ui::Enabled(page, IDOK) ? "enabled" : "disabled", ui::Enabled(page, IDCANCEL) ? "enabled" : "disabled",
          Show(ui::Title(ui::Item(page, 1019))).c_str());
  }
  Note("scan completed: %s files scanned", ui::Title(ui::Item(page, 1023)).c_str());
  HWND next = ui::Item(page, IDOK);
  if (!ui::WaitUntil([&] { return ui::Focus(page) == next; }, 2000)) Fail("after the scan the focus is not on Next");
}
