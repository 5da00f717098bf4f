// Start-up: the ways SETUP.EXE is started and the tests it makes before any
// page: the support library, an earlier installation.
#include <algorithm>
#include <set>

#include "check.h"
#include "outcome.h"
#include "scenario.h"
#include "support/files.h"
#include "support/settings.h"
#include "texts.h"
#include "wizard.h"

namespace {

// Setup stops before any page with exactly one message box: `text` under
// the title "설치 오류", OK only.  Nothing else of setup comes on screen.
void ExpectOnlyErrorBox(SetupProcess& setup, const char* text, const char* what) {
  ui::MessageBoxView box;
  if (!ui::WaitMessageBox(setup.Pid(), IsMessageBox, kStartTimeoutMs, &box)) {
    Abort("%s: no message box; on screen:%s", what, DescribeScreen().c_str());
  }
  ExpectText(box.title, texts::kErrorTitle, Format("%s: title", what).c_str());
  ExpectText(box.text, text, Format("%s: text", what).c_str());
  if (box.buttons != std::vector<int>{IDOK}) Fail("%s: the message box has buttons other than OK", what);
  ui::Answer(box, IDOK);
  setup.ExpectEnd(10000, what);
  // The box answered above counts even when the watcher's polling, slowed by
  // a busy machine, never saw it before it went.
  std::set<HWND> boxes = {box.hwnd};
  for (const ui::WindowRecord& record : ui::Seen(setup.Pid())) {
    if (record.firstVisible == ui::WindowRecord::kNever) continue;
    if (record.className == ui::kDialogClass && record.title == texts::kErrorTitle) {
      boxes.insert(record.hwnd);
    } else if (record.className != texts::kLogoClass) {
      // The logo window may come up before the library is loaded; nothing else.
      Fail("%s: %s %s came on screen", what, record.className.c_str(), Show(record.title).c_str());
    }
  }
  if (boxes.size() != 1) Fail("%s: %zu message boxes were shown, expected exactly one", what, boxes.size());
}

void ExpectCurrentFolder(const SetupProcess& setup, const std::string& want) {
  std::string folder = CurrentFolderOf(setup.Handle());
  if (!text::SameText(folder, want)) {
    Fail("SETUP.EXE's current folder after start-up is %s, expected %s", Show(folder).c_str(), Show(want).c_str());
  }
}

// Setup reaches the welcome page with `folder` made current and the support
// library loaded from there; then the user quits.
void ExpectStartsIn(const Launch& launch, const std::string& folder) {
  SetupProcess setup(launch);
  Wizard wizard(setup);
  wizard.ExpectStart();
  ExpectCurrentFolder(setup, folder);
  if (MediumHas("MemChk.exe") && !WaitForMemoryCheck(5000)) Fail("MemChk.exe was not started from the setup folder");
  std::vector<std::string> events = LibraryEvents(Bench().setupdllLoadLog, setup.Pid());
  std::string want = Format("load %lu %s\\_SETUP.DLL", setup.Pid(), folder.c_str());
  if (events.empty() || !text::SameText(events.front(), want)) {
    Fail("_SETUP.DLL was not loaded from the setup folder: %s, expected %s",
         events.empty() ? "no load" : Show(events.front()).c_str(), Show(want).c_str());
  }
  wizard.ConfirmQuit(Ask::Button);
}

// Start-up leaves the current folder as it was.  The library is then looked
// up as ".\\_SETUP.DLL" from there: Windows 98 finds none and shows the
// missing-files message, while Wine's loader also searches the program's own
// folder and finds it; either way the user gets out with exit code 0.
void ExpectFolderUnchanged(const Launch& launch) {
  SetupProcess setup(launch);
  HWND found = nullptr;
  ui::WaitUntil(
      [&] {
        if (!setup.Running()) return true;
        found = ui::FindVisible(setup.Pid(), ui::kDialogClass, nullptr);
        return found && (IsMessageBox(found) || ui::Title(found) == texts::kWelcome);
      },
      kStartTimeoutMs);
  if (!found) Abort("neither the welcome page nor a message came; on screen:%s", DescribeScreen().c_str());
  ExpectCurrentFolder(setup, launch.folder);
  // ".\\MemChk.exe" is looked for in the current folder only, so it is not found.
  if (MediumHas("MemChk.exe") && WaitForMemoryCheck(3000)) Fail("MemChk.exe was started although the setup folder is not current");
  if (IsMessageBox(found)) {
    ui::MessageBoxView box = ui::ViewMessageBox(found);
    ExpectText(box.text, texts::kMissingFilesText, "start-up message");
    ui::Answer(box, IDOK);
    setup.ExpectEnd(10000, "the message");
  } else {
    Note("Wine's loader found _SETUP.DLL beside the program");
    Wizard wizard(setup);
    wizard.Expect(Page::Welcome, 1000);
    wizard.ConfirmQuit(Ask::Button);
  }
}

const char kRecordedFolder[] = "C:\\Other\\Corvane";

}  // namespace

SCENARIO(dll_missing, "no _SETUP.DLL in the setup folder: one error message, no page, exit 0") {
  PrepareMachine();
  DeleteFileA((Bench().medium + "\\_SETUP.DLL").c_str());
  SetupProcess setup(FromExplorer());
  ExpectOnlyErrorBox(setup, texts::kMissingFilesText, "without _SETUP.DLL");
}

SCENARIO(dll_without_init, "a _SETUP.DLL without InitInstall: one error message, no page, library released, exit 0") {
  PrepareMachine();
  if (!CopyFileA(Bench().noinitDll.c_str(), (Bench().medium + "\\_SETUP.DLL").c_str(), FALSE)) {
    Abort("cannot put the library without InitInstall into the medium");
  }
  SetupProcess setup(FromExplorer());
  ExpectOnlyErrorBox(setup, texts::kMissingFilesText, "without InitInstall");
  ExpectLibraryReleased(setup.Pid());
}

SCENARIO(installed_default_folder, "no Install record and Cv32w.exe in the default folder: the already-installed message") {
  PrepareMachine();
  machine::MakeFolders(texts::kDefaultFolder);
  machine::WriteFile(std::string(texts::kDefaultFolder) + "\\Cv32w.exe", "");
  SetupProcess setup(FromExplorer());
  ExpectOnlyErrorBox(setup, texts::kInstalledText, "installed in the default folder");
  if (!LibraryEvents(Bench().setupdllLoadLog, setup.Pid()).empty()) Fail("_SETUP.DLL was loaded although setup stopped");
}

SCENARIO(installed_recorded_folder, "Install names another folder holding Cv32w.exe: the already-installed message") {
  PrepareMachine();
  machine::SetProfile("Corvane", "Install", kRecordedFolder);
  machine::MakeFolders(kRecordedFolder);
  machine::WriteFile(std::string(kRecordedFolder) + "\\Cv32w.exe", "");
  SetupProcess setup(FromExplorer());
  ExpectOnlyErrorBox(setup, texts::kInstalledText, "installed in the recorded folder");
}

SCENARIO(installed_folder_entry, "a folder named Cv32w.exe in the recorded folder counts as installed") {
  PrepareMachine();
  machine::SetProfile("Corvane", "Install", kRecordedFolder);
  machine::MakeFolders(std::string(kRecordedFolder) + "\\Cv32w.exe");
  SetupProcess setup(FromExplorer());
  ExpectOnlyErrorBox(setup, texts::kInstalledText, "a folder named Cv32w.exe");
}

SCENARIO(installed_only_recorded_counts, "Install names a folder without Cv32w.exe: a copy in the default folder does not count") {
  PrepareMachine();
  machine::SetProfile("Corvane", "Install", kRecordedFolder);
  machine::MakeFolders(kRecordedFolder);
  machine::MakeFolders(texts::kDefaultFolder);
  machine::WriteFile(std::string(texts::kDefaultFolder) + "\\Cv32w.exe", "");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.ConfirmQuit(Ask::Button);
}

SCENARIO(start_full_path, "started by its full path, unquoted, from another folder") {
  PrepareMachine();
  Launch launch;
  launch.commandLine = Bench().medium + "\\SETUP.EXE";
  launch.folder = machine::WindowsFolder();
  ExpectStartsIn(launch, Bench().medium);
}

SCENARIO(start_quoted_path, "started by a quoted path with a blank, from another folder; the whole setup works from there") {
  PrepareMachine();
  const std::string medium = "C:\\Setup Disk";
  if (!MoveMedium(medium)) Abort("cannot move the medium to %s", medium.c_str());
  Launch launch;
  launch.commandLine = "\"" + medium + "\\SETUP.EXE\"";
  launch.folder = machine::WindowsFolder();
  SetupProcess setup(launch);
  Wizard wizard(setup);
  wizard.ExpectStart();
  ExpectCurrentFolder(setup, medium);
  wizard.WalkTo(Page::Finish);
  wizard.Send(Ask::Button, IDOK);
  setup.ExpectEnd(10000, "the finish button");
  ExpectInstalled(texts::kDefaultFolder, 0x1F);
}

SCENARIO(start_bare_name, "started as SETUP (no backslash) at a prompt, in the setup folder and in another: the folder is not changed") {
  PrepareMachine();
  Launch launch;
  launch.application = Bench().medium + "\\SETUP.EXE";
  launch.commandLine = "SETUP";
  launch.folder = Bench().medium;
  ExpectStartsIn(launch, Bench().medium);
  // As if found on the PATH from another folder: that folder stays current.
  launch.folder = machine::WindowsFolder();
  machine::SetProfile("Corvane", "MemCheck", nullptr);
  ExpectFolderUnchanged(launch);
}

SCENARIO(start_relative_path, "started by a relative path with a backslash from the folder above the medium") {
  PrepareMachine();
  std::string medium = Bench().medium;
  size_t cut = medium.find_last_of('\\');
  Launch launch;
  launch.application = medium + "\\SETUP.EXE";
  launch.commandLine = medium.substr(cut + 1) + "\\SETUP.EXE";
  launch.folder = medium.substr(0, cut) + (cut == 2 ? "\\" : "");
  ExpectStartsIn(launch, medium);
}

SCENARIO(start_forward_slash, "started by a path with forward slashes only: no folder is cut off, the current folder stays") {
  PrepareMachine();
  std::string slashed = Bench().medium + "\\SETUP.EXE";
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  Launch launch;
  launch.application = Bench().medium + "\\SETUP.EXE";
  launch.commandLine = slashed;
  launch.folder = "C:\\";
  ExpectFolderUnchanged(launch);
}

SCENARIO(start_long_path, "program paths of 615 and 2000 bytes: no crash, exit 0") {
  PrepareMachine();
  std::string medium = Bench().medium;
  std::string dots;
  while (dots.size() < 600) dots += ".\\";
  std::string padding(2000, 'x');
  const std::string paths[] = {
      "\"" + medium + "\\" + dots + "SETUP.EXE\"",  // resolves to the medium itself
      medium + "\\" + padding + "\\SETUP.EXE",
  };
  for (const std::string& path : paths) {
    Launch launch;
    launch.application = medium + "\\SETUP.EXE";
    launch.commandLine = path;
    launch.folder = machine::WindowsFolder();
    SetupProcess setup(launch);
    Note("program path of %zu bytes", path.size());
    // Either outcome is fine: the wizard, or the message that files are
    // missing; what must not happen is a crash.
    HWND found = nullptr;
    ui::WaitUntil(
        [&] {
          if (!setup.Running()) return true;
          found = ui::FindVisible(setup.Pid(), ui::kDialogClass, nullptr);
          return found && (IsMessageBox(found) || ui::Title(found) == texts::kWelcome);
        },
        kStartTimeoutMs);
    if (found && IsMessageBox(found)) {
      ui::MessageBoxView box = ui::ViewMessageBox(found);
      Note("message %s %s", Show(box.title).c_str(), Show(box.text).c_str());
      ui::Answer(box, IDOK);
      setup.ExpectEnd(10000, "the message");
    } else if (found) {
      Wizard wizard(setup);
      wizard.Expect(Page::Welcome, 1000);
      wizard.ConfirmQuit(Ask::Button);
    } else {
      setup.ExpectEnd(0, "start-up");
    }
  }
}
