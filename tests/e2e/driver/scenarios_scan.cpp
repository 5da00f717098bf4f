// The pre-install scan end to end: the scan page and the engine binding,
// first with the recording engine double scripted per file (the order of the
// engine calls, every way a finding can go, the questions, Cancel during the
// scan, a missing or incomplete library), then with the real Corvane.dll on
// test infections planted in the key folders.
//
// The double's scripts can change between two scan runs of one setup run (it
// reads its script again at every load), so most scenarios run one example
// per scan run and read the counters' rise for that example alone.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include <windows.h>

#include "check.h"
#include "outcome.h"
#include "scenario.h"
#include "setup_process.h"
#include "shots.h"
#include "support/files.h"
#include "support/ui.h"
#include "texts.h"
#include "wizard.h"

namespace {

// Controls of the scan-choice page and the scan page.
constexpr int kScanFirst = 1016;
constexpr int kCurrentFile = 1019;
constexpr int kLastVirus = 1022;
constexpr int kCountScanned = 1023;
constexpr int kCountInfected = 1024;
constexpr int kCountRepaired = 1025;
constexpr int kCountDeleted = 1026;

const char kNoEngineTitle[] = "바이러스 검사";
const char kNoEngineText[] =
    "바이러스 검사 엔진(Corvane.dll)을 찾을 수 없어 바이러스 검사를 하지 못했습니다.\n"
    "검사를 하지 않고 설치를 계속합니다.";

// An answer to a virus question: a button id, or the box's close box.
constexpr int kCloseBox = -1;

const char* AnswerName(int answer) {
  switch (answer) {
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDCANCEL: return "Cancel";
    case kCloseBox: return "the close box";
  }
  return "?";
}

// ---- texts the scan must show ----

// The question for a finding.  Report codes other than 0 and 1 are asked with
// the text of code 2: the engine found something this version cannot treat.
std::string ExpectedQuestion(int report, const std::string& path, const std::string& virus) {
  const char* tail = report == 0   ? " 바이러스는 복구 가능한 바이러스입니다. 안전하게 복구할까요?"
                     : report == 1 ? " 바이러스는 복구 불가능한 바이러스입니다. 안전하게 삭제하시겠습니까?"
                                   : " 바이러스는 현 버전에서는 치료할 수 없습니다. 안전하게 삭제하시겠습니까?";
  return path + "\n\n" + virus + tail;
}

// The current-file field: a short path followed by blanks up to 74 bytes, a
// long one cut after its 79th byte.
std::string ExpectedCurrentFile(const std::string& path) {
  if (path.size() <= 74) return path + std::string(74 - path.size(), ' ');
  return path.substr(0, 79);
}

// ---- files and folders ----

// The three folders the scan reads, named as setup names them.
std::vector<std::string> KeyFolders() {
  std::string windows = machine::WindowsFolder();
  return {"C:\\", windows, windows + "\\Command"};
}

std::vector<std::string> KeyFolderFiles() {
  std::vector<std::string> files;
  for (const std::string& folder : KeyFolders()) {
    std::vector<std::string> in = machine::FilesIn(folder);
    files.insert(files.end(), in.begin(), in.end());
  }
  return files;
}

FILETIME Date(WORD year, WORD month, WORD day) {
  SYSTEMTIME system{};
  system.wYear = year;
  system.wMonth = month;
  system.wDay = day;
  system.wHour = 12;
  FILETIME time{};
  SystemTimeToFileTime(&system, &time);
  return time;
}

bool SetTimes(const std::string& path, const FILETIME& accessed, const FILETIME& written) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = SetFileTime(file, &written, &accessed, &written);
  CloseHandle(file);
  return ok;
}

// A file's times from its folder entry, without opening it (an open for
// reading would itself change the access time).
struct Times {
  FILETIME created{}, accessed{}, written{};
};
std::optional<Times> TimesOf(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(path.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return Times{entry.ftCreationTime, entry.ftLastAccessTime, entry.ftLastWriteTime};
}

bool Same(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) == 0; }

// ---- the engine double's log ----

std::vector<std::string> EngineCalls() { return machine::Lines(Bench().engineLog); }

// The calls of the scan run that started when the log had `mark` lines.
std::vector<std::string> CallsSince(size_t mark) {
  std::vector<std::string> all = EngineCalls();
  return std::vector<std::string>(all.begin() + std::min(mark, all.size()), all.end());
}

bool IsProbe(const std::string& call) { return call.rfind("probe ", 0) == 0; }
std::string ProbedPath(const std::string& call) { return call.substr(6); }

size_t ProbeCount() {
  std::vector<std::string> calls = EngineCalls();
  return std::count_if(calls.begin(), calls.end(), IsProbe);
}

// One scan run binds the engine once: switched on before anything else,
// switched off after everything else, each exactly once; no call names a
// probe that is not open, and the double understood its script.
void ExpectRunFrame(const std::vector<std::string>& run, const std::string& what) {
  long on = std::count(run.begin(), run.end(), "on");
  long off = std::count(run.begin(), run.end(), "off");
  if (run.empty() || run.front() != "on" || run.back() != "off" || on != 1 || off != 1) {
    Fail("%s: the engine was switched on %ld and off %ld times, and the calls run from %s to %s; expected "
         "on first and off last, once each",
         what.c_str(), on, off, run.empty() ? "nothing" : Show(run.front()).c_str(),
         run.empty() ? "nothing" : Show(run.back()).c_str());
  }
  for (const std::string& call : run) {
    if (call.find("(closed)") != std::string::npos || call.find("(unknown)") != std::string::npos) {
      Fail("%s: setup called the engine with a probe that is not open: %s", what.c_str(), Show(call).c_str());
    }
    if (call.rfind("script error", 0) == 0) Abort("the engine double rejects its script: %s", Show(call).c_str());
  }
}

// The engine calls about one file in a run: from its first probe up to the
// next file's probe or the turn-off, the path left out of "probe" and the
// handles named h1, h2, ... in the order in which they appear.  `next` gets
// the call that follows them.
std::vector<std::string> CallsAbout(const std::vector<std::string>& run, const std::string& path, std::string* next) {
  std::vector<std::string> calls;
  std::map<std::string, int> names;
  size_t at = 0;
  while (at < run.size() && !(IsProbe(run[at]) && text::SameText(ProbedPath(run[at]), path))) ++at;
  for (; at < run.size(); ++at) {
    const std::string& call = run[at];
    if (call == "off" || (IsProbe(call) && !text::SameText(ProbedPath(call), path))) break;
    if (IsProbe(call)) {
      calls.push_back("probe");
      continue;
    }
    std::vector<std::string> parts = text::Split(call, " ");
    if (parts.size() < 2) {
      calls.push_back(call);
      continue;
    }
    auto found = names.emplace(parts[1], static_cast<int>(names.size()) + 1).first;
    std::string named = parts[0] + " h" + std::to_string(found->second);
    for (size_t i = 2; i < parts.size(); ++i) named += " " + parts[i];
    calls.push_back(named);
  }
  if (next) *next = at < run.size() ? run[at] : "(end of log)";
  for (size_t later = at; later < run.size(); ++later) {
    if (IsProbe(run[later]) && text::SameText(ProbedPath(run[later]), path)) {
      Fail("%s was probed again after other files", Show(path).c_str());
      break;
    }
  }
  return calls;
}

// Files in which the engine finds nothing get nothing but their probe.
void ExpectOnlyProbesBeyond(const std::vector<std::string>& run, const std::vector<std::string>& scripted,
                            const std::string& what) {
  std::string current;
  for (const std::string& call : run) {
    if (IsProbe(call)) {
      current = ProbedPath(call);
      continue;
    }
    if (call == "on" || call == "off") continue;
    bool aboutScripted = std::any_of(scripted.begin(), scripted.end(),
                                      [&](const std::string& path) { return text::SameText(path, current); });
    if (!aboutScripted) {
      Fail("%s: the call %s follows the probe of the clean file %s", what.c_str(), Show(call).c_str(),
           Show(current).c_str());
    }
  }
}

std::string ScriptPath() { return Bench().home + "\\engine.script"; }

void WriteScript(const std::string& script) {
  if (!machine::WriteFile(ScriptPath(), script)) Abort("cannot write %s", Show(ScriptPath()).c_str());
}

// Lines of the double's load log for setup's process: "load", "free" (by
// FreeLibrary) or "exit".
std::vector<std::string> EngineLoads(DWORD pid) { return LibraryEvents(Bench().engineLoadLog, pid); }

// After `runs` scan runs with the library present: each loaded the copy on
// the medium and released it with FreeLibrary before the next began.
void ExpectLoadedAndReleased(DWORD pid, size_t runs) {
  std::vector<std::string> events = EngineLoads(pid);
  std::string library = text::Lower(Bench().medium + "\\Corvane.dll");
  bool ok = events.size() == 2 * runs;
  for (size_t i = 0; ok && i < events.size(); ++i) {
    std::vector<std::string> parts = text::Split(events[i], " ");
    std::string path = parts.size() >= 3 ? text::Lower(events[i].substr(parts[0].size() + parts[1].size() + 2)) : "";
    ok = parts[0] == (i % 2 == 0 ? "load" : "free") && path == library;
  }
  if (!ok) {
    Fail("after %zu scan runs Corvane.dll had these load events: %s; expected load and free (FreeLibrary) of %s "
         "once per run",
         runs, ShowAll(events).c_str(), Show(library).c_str());
  }
}

// ---- the scan page ----

struct Counts {
  int scanned, infected, repaired, deleted;
};

Counts operator+(Counts a, Counts b) {
  return {a.scanned + b.scanned, a.infected + b.infected, a.repaired + b.repaired, a.deleted + b.deleted};
}

// The counters as the page shows them; -1 for a text that is not a plain number.
Counts ShownCounts(HWND page) {
  auto read = [&](int id) {
    std::string text = ui::Title(ui::Item(page, id));
    bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::atoi(text.c_str()) : -1;
  };
  return {read(kCountScanned), read(kCountInfected), read(kCountRepaired), read(kCountDeleted)};
}

void ExpectCounts(HWND page, Counts want, const std::string& when) {
  Counts seen = ShownCounts(page);
  if (seen.scanned != want.scanned || seen.infected != want.infected || seen.repaired != want.repaired ||
      seen.deleted != want.deleted) {
    Fail("%s: counters scanned %d, infected %d, repaired %d, deleted %d; expected %d, %d, %d, %d", when.c_str(),
         seen.scanned, seen.infected, seen.repaired, seen.deleted, want.scanned, want.infected, want.repaired,
         want.deleted);
  }
}

bool ScanCompleted(HWND page) {
  return ui::Enabled(page, IDOK) && !ui::Enabled(page, IDCANCEL) &&
         ui::Title(ui::Item(page, kCurrentFile)) == texts::kScanDone;
}

// The box that tells the user that there is no usable engine.  Its title is
// the scan pages' caption, so it is told apart from them by their controls.
HWND VisibleEngineWarning(DWORD pid) {
  for (HWND window : ui::TopLevel(pid)) {
    if (IsWindowVisible(window) && ui::ClassName(window) == ui::kDialogClass &&
        ui::Title(window) == kNoEngineTitle && ui::Item(window, ui::kMessageTextId) &&
        !ui::Item(window, kCountScanned) && !ui::Item(window, kScanFirst)) {
      return window;
    }
  }
  return nullptr;
}

std::string ButtonList(const std::vector<int>& ids) {
  std::string out;
  for (int id : ids) out += Format(" %d", id);
  return out;
}

// What a message box must be like: its buttons (ascending ids), the default
// one (with the focus when it comes up) and its owner.
void ExpectBoxShape(HWND box, const std::vector<int>& buttons, int defaultId, HWND owner, const std::string& what) {
  ui::MessageBoxView view = ui::ViewMessageBox(box);
  if (view.buttons != buttons) {
    Fail("%s: buttons%s, expected%s", what.c_str(), ButtonList(view.buttons).c_str(), ButtonList(buttons).c_str());
  }
  for (int id : view.buttons) {
    bool isDefault = ui::IsDefaultButton(box, id);
    if (isDefault != (id == defaultId)) {
      Fail("%s: button %d is%s the default button", what.c_str(), id, isDefault ? "" : " not");
    }
  }
  HWND wantFocus = ui::Item(box, defaultId);
  if (!ui::WaitUntil([&] { return ui::Focus(box) == wantFocus; }, 1000)) {
    Fail("%s: the focus is not on button %d", what.c_str(), defaultId);
  }
  if (GetWindow(box, GW_OWNER) != owner) Fail("%s is not owned by the scan page", what.c_str());
}

// A virus question as it was on screen, with the page's fields at the time.
struct Question {
  std::string path;  // the text before the blank line
  std::string text;
  std::string currentFile, lastVirus;
  Counts counts;
};

using Answerer = std::function<int(const Question&)>;

// Answers the virus questions of the running scan until it completes, and
// checks what every question must be: titled "바이러스 발견", Yes, No and
// Cancel with Yes the default, owned by the scan page.  `answer` checks the
// text and picks the answer.  Returns the questions in the order asked.
std::vector<Question> AnswerUntilComplete(Wizard& wizard, const Answerer& answer, unsigned timeoutMs = 30000) {
  SetupProcess& setup = wizard.Setup();
  HWND page = wizard.PageWindow();
  std::vector<Question> asked;
  for (;;) {
    HWND box = nullptr;
    HWND stranger = nullptr;
    bool done = ui::WaitUntil(
        [&] {
          if (!setup.Running()) return true;
          for (HWND window : ui::TopLevel(setup.Pid())) {
            if (window == page || !IsWindowVisible(window) || ui::ClassName(window) != ui::kDialogClass) continue;
            if (IsMessageBox(window) && ui::Title(window) == texts::kVirusFoundTitle) {
              box = window;
            } else {
              stranger = window;
            }
            return true;
          }
          return ScanCompleted(page);
        },
        timeoutMs);
    if (!setup.Running()) Abort("SETUP.EXE ended during the scan");
    if (stranger) {
      Abort("during the scan a window %s came on screen:%s", Show(ui::Title(stranger)).c_str(),
            ui::Describe(setup.Pid()).c_str());
    }
    if (!done) {
      Abort("the scan did not complete within %u ms: Next %s, Cancel %s, field 1019 %s", timeoutMs,
            ui::Enabled(page, IDOK) ? "enabled" : "disabled", ui::Enabled(page, IDCANCEL) ? "enabled" : "disabled",
            Show(ui::Title(ui::Item(page, kCurrentFile))).c_str());
    }
    if (!box) break;
    Question question;
    question.text = ui::Title(ui::Item(box, ui::kMessageTextId));
    question.path = question.text.substr(0, question.text.find("\n\n"));
    question.currentFile = ui::Title(ui::Item(page, kCurrentFile));
    question.lastVirus = ui::Title(ui::Item(page, kLastVirus));
    question.counts = ShownCounts(page);
    std::string what = Format("the question about %s", Show(question.path).c_str());
    ExpectText(ui::Title(box), texts::kVirusFoundTitle, (what + ", title").c_str());
    ExpectBoxShape(box, {IDCANCEL, IDYES, IDNO}, IDYES, page, what);
    if (ui::Enabled(page, IDOK)) Fail("%s: Next is enabled while the scan runs", what.c_str());
    asked.push_back(question);
    int choice = answer(question);
    Note("%s answered %s", what.c_str(), AnswerName(choice));
    ui::MessageBoxView view = ui::ViewMessageBox(box);
    if (choice == kCloseBox) {
      ui::Dismiss(view);
    } else {
      ui::Answer(view, choice);
    }
  }
  wizard.ExpectScanCompleted(1000);
  return asked;
}

// ---- one setup run, many scan runs ----

// Setup started as Explorer starts it and walked to the scan-choice page,
// from where it runs one scan after another.
struct ScanSession {
  ScanSession() : setup(FromExplorer()), wizard(setup) {
    wizard.ExpectStart();
    wizard.WalkTo(Page::ScanChoice);
  }
  // From the install-folder page by Back, or from the scan-choice page: the
  // scan page of a new scan run.
  HWND OpenScan() {
    if (wizard.Current() == Page::Folder) wizard.Go(4, Page::ScanChoice);
    HWND page = wizard.Go(IDOK, Page::Scan);
    if (ui::Enabled(page, IDOK) || !ui::Enabled(page, IDCANCEL)) {
      Fail("the scan page opens with Next %s and Cancel %s", ui::Enabled(page, IDOK) ? "enabled" : "disabled",
           ui::Enabled(page, IDCANCEL) ? "enabled" : "disabled");
    }
    return page;
  }
  // Ends setup from the install-folder page, with the support library released.
  void Quit() {
    if (wizard.Current() == Page::Scan) wizard.Go(IDOK, Page::Folder);
    wizard.ConfirmQuit(Ask::Button);
  }

  SetupProcess setup;
  Wizard wizard;
};

void StartWithScript() {
  PrepareMachine();
  WriteScript("");
  SetChildEnvironment("CORVANE_ENGINE_SCRIPT", ScriptPath().c_str());
}

// ---- the counting examples ----

// What becomes of an example's file while its first question is open: the
// user may take any time to answer, and another program may write the file.
enum class Meanwhile { Nothing, Grows, SameSizeOtherTime };

// Changes the file as `meanwhile` says; returns its new contents.
std::string ChangeMeanwhile(const std::string& path, const std::string& content, Meanwhile meanwhile) {
  std::string changed = content;
  if (meanwhile == Meanwhile::Grows) changed += "grown while the question was open\r\n";
  if (meanwhile == Meanwhile::SameSizeOtherTime) changed[0] = changed[0] == 'X' ? 'Y' : 'X';
  if (!machine::WriteFile(path, changed)) Abort("cannot change %s", Show(path).c_str());
  // Written a moment ago, the file's own time is far from this one.
  if (meanwhile == Meanwhile::SameSizeOtherTime && !SetTimes(path, Date(1999, 3, 1), Date(1999, 3, 1))) {
    Abort("cannot set the times of %s", Show(path).c_str());
  }
  return changed;
}

// A question the example expects, and the user's answer to it.
struct Expected {
  int report;
  const char* virus;
  int answer;
};

struct Example {
  const char* what;
  const char* file;    // directly in C:\, so that the Windows folders follow it
  const char* script;  // the double's answers for it
  std::vector<Expected> questions;
  std::vector<const char*> calls;  // its engine calls, handles named h1, h2, ...
  Counts rise;                     // what it adds to the counters
  const char* lastVirus;          // the last-virus field afterwards; null: the initial text
  bool deleted;
  Meanwhile meanwhile = Meanwhile::Nothing;
};

// One scan run in which only `example.file` holds findings: the questions and
// the calls about it, the counters' rise, the other files only probed, and
// the file afterwards.
void RunExample(ScanSession& session, const Example& example, size_t* runs) {
  Note("example: %s", example.what);
  std::string path = std::string("C:\\") + example.file;
  std::string content = Format("%s, the file of the example: %s\r\n", example.file, example.what);
  machine::WriteFile(path, content);
  WriteScript(Format("%s: %s\r\n", example.file, example.script));
  size_t mark = EngineCalls().size();
  size_t files = KeyFolderFiles().size();
  HWND page = session.OpenScan();
  size_t nextQuestion = 0;
  std::vector<Question> asked = AnswerUntilComplete(session.wizard, [&](const Question& question) {
    size_t index = nextQuestion++;
    if (index >= example.questions.size()) {
      Fail("%s: unexpected question %zu: %s", example.what, index + 1, Show(question.text).c_str());
      return IDNO;
    }
    const Expected& want = example.questions[index];
    std::string label = Format("%s, question %zu", example.what, index + 1);
    ExpectText(question.text, ExpectedQuestion(want.report, path, want.virus), (label + ", text").c_str());
    ExpectText(question.lastVirus, want.virus, (label + ", last-virus field while asked").c_str());
    ExpectText(question.currentFile, ExpectedCurrentFile(path), (label + ", current-file field").c_str());
    ExpectNumber(question.counts.infected, static_cast<long long>(index + 1),
                 (label + ", infected count while asked").c_str());
    if (index == 0 && example.meanwhile != Meanwhile::Nothing) {
      content = ChangeMeanwhile(path, content, example.meanwhile);
    }
    return want.answer;
  });
  ++*runs;
  ExpectNumber(static_cast<long long>(asked.size()), static_cast<long long>(example.questions.size()),
               Format("%s: questions asked", example.what).c_str());

  std::vector<std::string> run = CallsSince(mark);
  std::string label = Format("scan run %zu (%s)", *runs, example.what);
  ExpectRunFrame(run, label);
  ExpectOnlyProbesBeyond(run, {path}, label);
  std::string next;
  std::vector<std::string> calls = CallsAbout(run, path, &next);
  std::vector<std::string> wantCalls(example.calls.begin(), example.calls.end());
  if (calls != wantCalls) {
    Fail("%s: engine calls about %s were %s; expected %s", label.c_str(), Show(path).c_str(), ShowAll(calls).c_str(),
         ShowAll(wantCalls).c_str());
  }
  // The file lies in C:\, so files of the Windows folder always follow.
  if (!IsProbe(next)) Fail("%s: after %s the scan went on with %s, not the next file", label.c_str(), example.file,
                           Show(next).c_str());
  long probes = std::count_if(run.begin(), run.end(), IsProbe);
  Counts want = Counts{static_cast<int>(files) - 1, 0, 0, 0} + example.rise;
  ExpectCounts(page, want, label);
  ExpectNumber(ShownCounts(page).scanned, probes, (label + ": files-scanned counter against the probes").c_str());
  ExpectText(ui::Title(ui::Item(page, kLastVirus)), example.lastVirus ? example.lastVirus : texts::kNoVirus,
             (label + ": last-virus field").c_str());
  ExpectLoadedAndReleased(session.setup.Pid(), *runs);
  if (example.deleted) {
    if (machine::Exists(path)) Fail("%s: %s is still there", label.c_str(), Show(path).c_str());
  } else {
    ExpectText(machine::ReadFile(path).value_or("(gone)"), content, (label + ": the file afterwards").c_str());
  }
  session.wizard.Go(IDOK, Page::Folder);
}

}  // namespace

SCENARIO(scan_answers, "call order of a scan run; clean, repaired once, twice; No, Cancel, close box to a question") {
  StartWithScript();
  ScanSession session;
  size_t runs = 0;
  const Example examples[] = {
      {"a clean file", "CLEAN.TXT", "clean", {}, {"probe"}, {1, 0, 0, 0}, nullptr, false},
      {"one repairable virus, repaired, then clean", "ONE.COM", "found name=Cvt.One; clean",
       {{0, "Cvt.One", IDYES}}, {"probe", "report h1", "name h1", "name h1", "recover h1", "close h1", "probe"},
       {2, 1, 1, 0}, "Cvt.One", false},
      {"two viruses, both repaired", "TWO.EXE", "found name=Cvt.Alpha; found name=Cvt.Beta; clean",
       {{0, "Cvt.Alpha", IDYES}, {0, "Cvt.Beta", IDYES}},
       {"probe", "report h1", "name h1", "name h1", "recover h1", "close h1", "probe", "report h2", "name h2",
        "name h2", "recover h2", "close h2", "probe"},
       {3, 2, 2, 0}, "Cvt.Beta", false},
      // Each would be deleted on Yes: the answer must leave it alone.
      {"No to the question", "NO.EXE", "found report=1 result=2 name=Cvt.No delete", {{1, "Cvt.No", IDNO}},
       {"probe", "report h1", "name h1", "name h1", "close h1"}, {1, 1, 0, 0}, "Cvt.No", false},
      {"Cancel to the question", "CANCEL.EXE", "found report=1 result=2 name=Cvt.Cancel delete",
       {{1, "Cvt.Cancel", IDCANCEL}}, {"probe", "report h1", "name h1", "name h1", "close h1"}, {1, 1, 0, 0},
       "Cvt.Cancel", false},
      {"the question's close box", "CLOSED.EXE", "found report=1 result=2 name=Cvt.Closed delete",
       {{1, "Cvt.Closed", kCloseBox}}, {"probe", "report h1", "name h1", "name h1", "close h1"}, {1, 1, 0, 0},
       "Cvt.Closed", false},
  };
  for (const Example& example : examples) RunExample(session, example, &runs);
  session.Quit();
}

SCENARIO(scan_results, "report code 3; treatment results 2, 3 and 7; Yes to a file changed while asked; one scan run each, the engine loaded anew for each") {
  StartWithScript();
  ScanSession session;
  size_t runs = 0;
  const Example examples[] = {
      // Deleted on Yes; with no question it stays.  Its probe stays open.
      {"report code 3", "LEFT.EXE", "found report=3 result=2 name=Cvt.Left delete", {}, {"probe", "report h1"},
       {1, 0, 0, 0}, nullptr, false},
      {"treatment result 2, deleted", "GONE.EXE", "found report=1 result=2 name=Cvt.Gone delete",
       {{1, "Cvt.Gone", IDYES}}, {"probe", "report h1", "name h1", "name h1", "recover h1", "close h1"}, {1, 1, 0, 1},
       "Cvt.Gone", true},
      // Yes to a file that changed after its probe: the engine is not asked
      // to treat what it did not see, and the new contents stay.
      {"a file grown while asked, then Yes", "GROWN.EXE", "found report=1 result=2 name=Cvt.Grown delete",
       {{1, "Cvt.Grown", IDYES}}, {"probe", "report h1", "name h1", "name h1", "close h1"}, {1, 1, 0, 0},
       "Cvt.Grown", false, Meanwhile::Grows},
      {"a file rewritten to its size with another time while asked, then Yes", "REWRITE.EXE",
       "found report=0 result=2 name=Cvt.Rewritten delete", {{0, "Cvt.Rewritten", IDYES}},
       {"probe", "report h1", "name h1", "name h1", "close h1"}, {1, 1, 0, 0}, "Cvt.Rewritten", false,
       Meanwhile::SameSizeOtherTime},
      {"treatment result 3", "ENDED.EXE", "found report=2 result=3 name=Cvt.Ended", {{2, "Cvt.Ended", IDYES}},
       {"probe", "report h1", "name h1", "name h1", "recover h1", "close h1"}, {1, 1, 0, 0}, "Cvt.Ended", false},
      // Offered again after each Yes, without the earlier probe closed.
      {"treatment result 7, then No", "AGAIN.EXE", "found result=7 name=Cvt.Again",
       {{0, "Cvt.Again", IDYES}, {0, "Cvt.Again", IDYES}, {0, "Cvt.Again", IDNO}},
       {"probe", "report h1", "name h1", "name h1", "recover h1", "probe", "report h2", "name h2", "name h2",
        "recover h2", "probe", "report h3", "name h3", "name h3", "close h3"},
       {3, 3, 0, 0}, "Cvt.Again", false},
      {"a clean run after them", "CLEAN.TXT", "clean", {}, {"probe"}, {1, 0, 0, 0}, nullptr, false},
  };
  for (const Example& example : examples) RunExample(session, example, &runs);
  session.Quit();
}

namespace {

// A virus name of 1,500 bytes with Korean in it, numbered so that a cut
// anywhere shows.
std::string LongVirusName(const char* tag) {
  std::string name = std::string("Cvt.긴이름.") + tag + ".";
  for (int i = 0; name.size() < 1500; ++i) name += Format("%04d-", i);
  name.resize(1500);
  return name;
}

// A path of `length` bytes directly in C:\, beginning with `lead`.
std::string PathOfLength(size_t length, const char* lead) {
  std::string path = std::string("C:\\") + lead;
  std::string tail = ".EXE";
  for (int i = 0; path.size() + tail.size() < length; ++i) path += static_cast<char>('0' + i % 10);
  return path + tail;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

}  // namespace

SCENARIO(scan_questions, "the three question texts whole (long paths, 1,500-byte names), codes 9 and -1, the current-file field") {
  StartWithScript();
  struct Case {
    std::string path;
    int report;
    std::string virus;
    int shownAs;  // the report code whose text the question uses
  };
  const std::vector<Case> cases = {
      {PathOfLength(230, "긴경로_복구_"), 0, LongVirusName("복구"), 0},
      {PathOfLength(231, "긴경로_삭제_"), 1, LongVirusName("삭제"), 1},
      {PathOfLength(232, "긴경로_치료불가_"), 2, LongVirusName("치료불가"), 2},
      {"C:\\CODE9.EXE", 9, "Cvt.Nine", 2},
      {"C:\\MINUS1.EXE", -1, "Cvt.Minus", 2},
      // The current-file field around its limits: padded, whole, cut.
      {PathOfLength(60, "SIXTY_"), 1, "Cvt.Sixty", 1},
      {PathOfLength(79, "SEVENTY_NINE_"), 0, "Cvt.Seventy.Nine", 0},
      {PathOfLength(80, "EIGHTY_"), 2, "Cvt.Eighty", 2},
  };
  std::string script;
  for (const Case& c : cases) {
    machine::WriteFile(c.path, "left alone: every question is answered No\r\n");
    script += Format("%s: found report=%d result=2 delete name=\"%s\"\r\n", FileName(c.path).c_str(), c.report,
                     c.virus.c_str());
  }
  WriteScript(script);
  ScanSession session;
  size_t files = KeyFolderFiles().size();
  HWND page = session.OpenScan();
  std::vector<std::string> askedPaths;
  AnswerUntilComplete(session.wizard, [&](const Question& question) {
    auto found = std::find_if(cases.begin(), cases.end(), [&](const Case& c) { return c.path == question.path; });
    if (found == cases.end()) {
      Fail("a question about %s, which holds no finding (or its path was cut)",
           Show(question.path.substr(0, 300)).c_str());
      return IDNO;
    }
    askedPaths.push_back(found->path);
    std::string label = Format("the question with report code %d about a %zu-byte path", found->report,
                               found->path.size());
    ExpectText(question.text, ExpectedQuestion(found->shownAs, found->path, found->virus), (label + ", text").c_str());
    ExpectText(question.lastVirus, found->virus, (label + ", last-virus field").c_str());
    ExpectText(question.currentFile, ExpectedCurrentFile(found->path), (label + ", current-file field").c_str());
    ExpectNumber(question.counts.infected, static_cast<long long>(askedPaths.size()),
                 (label + ", infected count while asked").c_str());
    if (found->report == 0 && found->virus.size() == 1500) Shot("scan-question-long");
    return IDNO;
  });
  ExpectNumber(static_cast<long long>(askedPaths.size()), static_cast<long long>(cases.size()), "questions asked");
  ExpectCounts(page, {static_cast<int>(files), static_cast<int>(cases.size()), 0, 0}, "after the scan");
  for (const Case& c : cases) {
    if (!machine::Exists(c.path)) Fail("%s is gone although every question was answered No", Show(c.path).c_str());
  }
  session.Quit();
}

SCENARIO(scan_cancel, "Cancel during the scan: No goes on, Yes ends setup before the next file with the engine off and unloaded") {
  PrepareMachine();
  // Slow probes and more files leave time to act while the scan runs.
  SetChildEnvironment("CORVANE_ENGINE_DELAY_MS", "400");
  for (int i = 1; i <= 20; ++i) {
    machine::WriteFile(Format("%s\\Command\\SLOW%02d.DAT", machine::WindowsFolder().c_str(), i), "");
  }
  ScanSession session;
  Wizard& wizard = session.wizard;
  DWORD pid = session.setup.Pid();
  HWND page = session.OpenScan();
  if (!ui::WaitUntil([] { return ProbeCount() >= 2; }, 20000)) Abort("the scan probes no file");
  Shot("scan-running");
  // The drain passes keys on without the dialog manager: Esc asks nothing.
  ui::Key(page, VK_ESCAPE);
  ui::MessageBoxView stray;
  if (ui::WaitMessageBox(pid, IsMessageBox, 700, &stray)) {
    Fail("Esc during the scan brought %s %s", Show(stray.title).c_str(), Show(stray.text).c_str());
    ui::Answer(stray, stray.buttons.size() > 1 ? IDNO : IDOK);
  }

  ui::MessageBoxView box = wizard.OpenQuitQuestion(Ask::Button);
  ExpectBoxShape(box.hwnd, {IDYES, IDNO}, IDYES, page, "the scan's own question");
  size_t askedAt = EngineCalls().size();
  Sleep(1000);  // more than a probe takes
  if (EngineCalls().size() != askedAt) Fail("the scan went on while its question was open");
  ui::Answer(box, IDNO);
  if (!ui::WaitUntil([&] { return EngineCalls().size() > askedAt + 1; }, 5000)) {
    Fail("the scan did not go on after No to its question");
  }
  if (ScanCompleted(page)) Abort("the scan completed before the second Cancel; slow it down further");

  box = wizard.OpenQuitQuestion(Ask::Button);
  std::vector<std::string> beforeYes = EngineCalls();
  std::set<HWND> onScreen = ui::SeenOnScreen(pid);
  ui::Answer(box, IDYES);
  wizard.ExpectEndWithoutPage(onScreen, "Yes to the scan's question");
  ExpectLibraryReleased(pid);
  std::vector<std::string> calls = EngineCalls();
  std::vector<std::string> after(calls.begin() + std::min(beforeYes.size(), calls.size()), calls.end());
  if (after != std::vector<std::string>{"off"}) {
    Fail("after Yes to the scan's question the engine got %s; expected only the turn-off", ShowAll(after).c_str());
  }
  ExpectRunFrame(calls, "the cancelled scan");
  ExpectLoadedAndReleased(pid, 1);
  ExpectNothingInstalled();
}

namespace {

// The engine double with one export's name changed, so that the library
// loads but lacks that export.  The export name table holds the names one
// after another, each ending in a zero byte (the symbol table has them with
// a leading underscore).  They stay sorted: the last letter becomes 'X' in
// names whose neighbours differ earlier.
std::string WithoutExport(const std::string& library, const std::string& name) {
  std::string wanted = '\0' + name + '\0';
  size_t at = library.find(wanted);
  if (at == std::string::npos || library.find(wanted, at + 1) != std::string::npos) {
    Abort("the export name %s is not found exactly once in the engine double", name.c_str());
  }
  std::string patched = library;
  patched[at + name.size()] = 'X';
  return patched;
}

// One scan run without a usable engine: the warning, then the completed page
// with nothing counted.  `calls` are the engine calls expected of the run.
void RunWithoutEngine(ScanSession& session, const char* what, const std::vector<std::string>& calls,
                      bool libraryLoads, const char* shot = nullptr) {
  Note("scan run with %s", what);
  Wizard& wizard = session.wizard;
  DWORD pid = session.setup.Pid();
  if (wizard.Current() == Page::Folder) wizard.Go(4, Page::ScanChoice);
  size_t mark = EngineCalls().size();
  size_t loadsBefore = EngineLoads(pid).size();
  ui::Click(wizard.PageWindow(), IDOK);
  HWND warning = nullptr;
  if (!ui::WaitUntil([&] { return (warning = VisibleEngineWarning(pid)) != nullptr; }, 10000)) {
    Abort("with %s no warning came; on screen:%s", what, DescribeScreen().c_str());
  }
  HWND page = GetWindow(warning, GW_OWNER);
  std::string label = Format("the warning with %s", what);
  ExpectText(ui::Title(ui::Item(warning, ui::kMessageTextId)), kNoEngineText, (label + ", text").c_str());
  if (!page || !ui::Item(page, kCountScanned)) Fail("%s is not owned by the scan page", label.c_str());
  ExpectBoxShape(warning, {IDOK}, IDOK, page, label);
  if (page && (ui::Enabled(page, IDOK) || ui::Title(ui::Item(page, kCurrentFile)) == texts::kScanDone)) {
    Fail("%s: the scan page shows its completed state before the warning is answered", label.c_str());
  }
  if (shot) Shot(shot);
  ui::MessageBoxView view = ui::ViewMessageBox(warning);
  ui::Answer(view, IDOK);
  page = wizard.Expect(Page::Scan);
  wizard.ExpectScanCompleted(5000);
  ExpectCounts(page, {0, 0, 0, 0}, label);
  ExpectText(ui::Title(ui::Item(page, kLastVirus)), texts::kNoVirus, (label + ", last-virus field").c_str());
  std::vector<std::string> run = CallsSince(mark);
  if (run != calls) Fail("with %s the engine got %s; expected %s", what, ShowAll(run).c_str(), ShowAll(calls).c_str());
  std::vector<std::string> loads = EngineLoads(pid);
  size_t wantLoads = loadsBefore + (libraryLoads ? 2 : 0);
  if (loads.size() != wantLoads || (libraryLoads && loads.back().rfind("free ", 0) != 0)) {
    Fail("with %s the library's load events are %s; expected %s", what, ShowAll(loads).c_str(),
         libraryLoads ? "one more load and free" : "none more");
  }
  wizard.Go(IDOK, Page::Folder);
}

}  // namespace

SCENARIO(scan_no_engine, "no Corvane.dll, then one lacking dlRecoverFile or dlProbeInto: warning, nothing probed; then the double again") {
  PrepareMachine();
  std::string library = Bench().medium + "\\Corvane.dll";
  std::optional<std::string> doubleBytes = machine::ReadFile(library);
  if (!doubleBytes) Abort("no engine double on the medium");
  DeleteFileA(library.c_str());
  ScanSession session;
  DWORD pid = session.setup.Pid();
  RunWithoutEngine(session, "no Corvane.dll", {}, false, "scan-no-engine");
  // The turn-on and turn-off exports are there, so the library is switched
  // on and off; none of the others may be called.
  machine::WriteFile(library, WithoutExport(*doubleBytes, "dlRecoverFile"));
  RunWithoutEngine(session, "a Corvane.dll without dlRecoverFile", {"on", "off"}, true);
  machine::WriteFile(library, WithoutExport(*doubleBytes, "dlProbeInto"));
  RunWithoutEngine(session, "a Corvane.dll without dlProbeInto", {"on", "off"}, true);
  // Never switched on, its probes could find nothing: not used either.  The
  // turn-off export is there, so unloading still calls it.
  machine::WriteFile(library, WithoutExport(*doubleBytes, "dlTurnOnCorvane"));
  RunWithoutEngine(session, "a Corvane.dll without dlTurnOnCorvane", {"off"}, true);
  // With the whole library back, the next run scans as usual.
  machine::WriteFile(library, *doubleBytes);
  size_t mark = EngineCalls().size();
  size_t files = KeyFolderFiles().size();
  HWND page = session.OpenScan();
  AnswerUntilComplete(session.wizard, [](const Question& question) {
    Fail("unexpected question %s", Show(question.text).c_str());
    return IDNO;
  });
  std::vector<std::string> run = CallsSince(mark);
  ExpectRunFrame(run, "the scan with the library back");
  ExpectCounts(page, {static_cast<int>(files), 0, 0, 0}, "the scan with the library back");
  if (EngineLoads(pid).size() != 8) Fail("the library back on the medium was not loaded and released once");
  session.Quit();
}

namespace {

// A file the real-engine scenario puts in place, and what must become of it.
enum class Fate { Untouched, Repaired, Deleted };

struct Planted {
  std::string path;
  std::string sample;    // file in the samples folder; empty: `text`
  std::string original;  // what a repair must give back
  Fate fate;
  std::vector<Expected> questions;
  bool inSubfolder;
  std::string text;
};

std::string SamplesFolder() { return Bench().home + "\\samples"; }
std::string RealEngine() { return Bench().home + "\\real\\Corvane.dll"; }

std::string Sample(const std::string& name) {
  std::optional<std::string> bytes = machine::ReadFile(SamplesFolder() + "\\" + name);
  if (!bytes) Abort("no sample %s", name.c_str());
  return *bytes;
}

// Whether reading a file changes its access time here; without that, no
// access time can show that a file was never opened.
bool AccessTimesKept() {
  std::string probe = Bench().home + "\\atime.probe";
  machine::WriteFile(probe, "read once to see whether the access time moves\r\n");
  SetTimes(probe, Date(1998, 1, 1), Date(1999, 3, 1));
  machine::ReadFile(probe);
  std::optional<Times> times = TimesOf(probe);
  return times && !Same(times->accessed, Date(1998, 1, 1));
}

struct Snapshot {
  std::string bytes;
  Times times;
};

}  // namespace

SCENARIO(scan_real_engine, "the real Corvane.dll on planted test infections: repaired, deleted, declined, clean, sub-folders untouched") {
  if (!machine::Exists(RealEngine()) || !machine::Exists(SamplesFolder() + "\\EICAR.BIN")) {
    Note("the real Corvane.dll or the samples (cvsample of the host build) are missing; nothing to scan with");
    std::exit(77);
  }
  PrepareMachine();
  if (!CopyFileA(RealEngine().c_str(), (Bench().medium + "\\Corvane.dll").c_str(), FALSE)) {
    Abort("cannot put the real Corvane.dll on the medium");
  }
  std::string windows = machine::WindowsFolder();
  std::string command = windows + "\\Command";
  std::string system = windows + "\\system";
  machine::MakeFolders("C:\\CVSUB");
  machine::MakeFolders(system);
  const std::vector<Planted> planted = {
      {"C:\\EICAR.COM", "EICAR.BIN", "", Fate::Deleted, {{1, "EICAR-Test-File", IDYES}}, false, ""},
      {"C:\\DECLINE.EXE", "MENDER-D.BIN", "", Fate::Untouched, {{0, "CvTest.Mender", IDNO}}, false, ""},
      {"C:\\README.TXT", "", "", Fate::Untouched, {}, false, "nothing to find here\r\n"},
      {windows + "\\CLOAK.EXE", "CLOAK-A.BIN", "ORIG-A.BIN", Fate::Repaired, {{0, "CvTest.Cloak", IDYES}}, false, ""},
      {windows + "\\INERT.DAT", "INERT-I.BIN", "", Fate::Untouched, {}, false, ""},
      {windows + "\\CLEAN.DAT", "ORIG-I.BIN", "", Fate::Untouched, {}, false, ""},
      {command + "\\TWICE.EXE", "TWICE-B.BIN", "ORIG-B.BIN", Fate::Repaired,
       {{0, "CvTest.Mender", IDYES}, {0, "CvTest.Cloak", IDYES}}, false, ""},
      {command + "\\MORPH.EXE", "MORPH-M.BIN", "", Fate::Deleted, {{2, "CvTest.Morph", IDYES}}, false, ""},
      {command + "\\CLEAN.COM", "ORIG-M.BIN", "", Fate::Untouched, {}, false, ""},
      {system + "\\CVSUB.EXE", "CLOAK-S.BIN", "", Fate::Untouched, {}, true, ""},
      {"C:\\CVSUB\\EICAR.COM", "EICAR.BIN", "", Fate::Untouched, {}, true, ""},
  };
  // Old times, the access time before the write time: any read moves it.
  const FILETIME accessed = Date(1998, 1, 1), written = Date(1999, 3, 1);
  for (const Planted& file : planted) {
    if (!machine::WriteFile(file.path, file.sample.empty() ? file.text : Sample(file.sample)) ||
        !SetTimes(file.path, accessed, written)) {
      Abort("cannot plant %s", Show(file.path).c_str());
    }
  }
  bool accessTimes = AccessTimesKept();
  if (!accessTimes) {
    Note("reading a file does not move its access time here; the sub-folders are checked by content only");
  }

  ScanSession session;
  if (MediumHas("MemChk.exe")) WaitForMemoryCheck(10000);
  // Every file directly in the key folders as it was before the scan.
  std::map<std::string, Snapshot> before;
  for (const std::string& path : KeyFolderFiles()) {
    before[text::Lower(path)] = Snapshot{machine::ReadFile(path).value_or(""), TimesOf(path).value_or(Times{})};
  }
  HWND page = session.OpenScan();
  std::map<std::string, size_t> asked;  // per planted path
  std::string lastVirus = texts::kNoVirus;
  bool questionShot = false;
  AnswerUntilComplete(session.wizard, [&](const Question& question) {
    auto file = std::find_if(planted.begin(), planted.end(),
                             [&](const Planted& p) { return text::SameText(p.path, question.path); });
    size_t index = asked[text::Lower(question.path)]++;
    if (file == planted.end() || index >= file->questions.size()) {
      Fail("unexpected question: %s", Show(question.text).c_str());
      return IDNO;
    }
    const Expected& want = file->questions[index];
    ExpectText(question.text, ExpectedQuestion(want.report, file->path, want.virus),
               Format("question %zu about %s", index + 1, Show(file->path).c_str()).c_str());
    lastVirus = want.virus;
    if (!questionShot) {
      Shot("scan-question");
      questionShot = true;
    }
    return want.answer;
  });
  Shot("scan-complete");

  Counts want{static_cast<int>(before.size()), 0, 0, 0};
  for (const Planted& file : planted) {
    if (file.inSubfolder) continue;
    ExpectNumber(static_cast<long long>(asked[text::Lower(file.path)]), static_cast<long long>(file.questions.size()),
                 Format("questions about %s", Show(file.path).c_str()).c_str());
    want.infected += static_cast<int>(file.questions.size());
    if (file.fate == Fate::Repaired) {
      // Probed once more after each repair.
      want.scanned += static_cast<int>(file.questions.size());
      want.repaired += static_cast<int>(file.questions.size());
    }
    if (file.fate == Fate::Deleted) ++want.deleted;
  }
  ExpectCounts(page, want, "after the scan with the real engine");
  ExpectText(ui::Title(ui::Item(page, kLastVirus)), lastVirus, "last-virus field after the scan");

  // The sub-folders' files first: reading them for the comparison moves
  // their access times.
  for (const Planted& file : planted) {
    if (!file.inSubfolder) continue;
    std::optional<Times> times = TimesOf(file.path);
    if (!times || !Same(times->written, written)) Fail("%s in a sub-folder was written to", Show(file.path).c_str());
    if (times && accessTimes && !Same(times->accessed, accessed)) {
      Fail("%s in a sub-folder was opened by the scan", Show(file.path).c_str());
    }
    if (machine::ReadFile(file.path) != Sample(file.sample)) {
      Fail("%s in a sub-folder changed", Show(file.path).c_str());
    }
  }
  for (const Planted& file : planted) {
    if (file.fate == Fate::Repaired && machine::ReadFile(file.path) != Sample(file.original)) {
      Fail("%s is not its original byte for byte after the repair", Show(file.path).c_str());
    }
    if (file.fate == Fate::Deleted && machine::Exists(file.path)) Fail("%s was not deleted", Show(file.path).c_str());
  }
  // Everything else in the key folders, the declined and the report-3 file
  // included, is as it was; no file is left behind by the treatments.
  std::map<std::string, bool> treated;
  for (const Planted& file : planted) {
    if (file.fate != Fate::Untouched) treated[text::Lower(file.path)] = file.fate == Fate::Repaired;
  }
  std::vector<std::string> after = KeyFolderFiles();
  for (const std::string& path : after) {
    if (!before.count(text::Lower(path))) Fail("the scan left a new file %s", Show(path).c_str());
  }
  for (const auto& [path, snapshot] : before) {
    auto found = treated.find(path);
    if (found != treated.end()) {
      bool present =
          std::any_of(after.begin(), after.end(), [&](const std::string& p) { return text::Lower(p) == path; });
      if (present != found->second) Fail("%s is %s after the scan", Show(path).c_str(), present ? "there" : "gone");
      continue;
    }
    std::optional<Times> times = TimesOf(path);
    if (!times) {
      Fail("%s is gone after the scan", Show(path).c_str());
      continue;
    }
    if (!Same(times->written, snapshot.times.written) || !Same(times->created, snapshot.times.created)) {
      Fail("%s has other times after the scan", Show(path).c_str());
    }
    if (machine::ReadFile(path).value_or("") != snapshot.bytes) Fail("%s changed in the scan", Show(path).c_str());
  }
  session.Quit();
}
