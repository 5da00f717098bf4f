// Setup stopped dead, or one of its calls failed, at every operation that
// changes the PC, and the next start's recovery stopped at every one of its
// own: whatever the point, the PC ends as it was before the install, or,
// once the install was recorded as finished, as a finished install leaves it.
//
// The install is the real medium's programs and payload store with a
// manifest of the sweep's own: files made and replaced in the install folder
// (one read-only), a shared library in the system folder that another
// program counts and that is in use, a file made and one replaced in the
// Windows folder, the group with a link (named twice: the second is made
// over the first), the two fixed links, the win.ini records and the
// uninstall entry.  The recovery is SETUP.EXE's own start,
// from a folder that holds nothing else.
//
// Every operation goes through the program's disk seam, which the test
// build stops (TerminateProcess) or fails (disk full, access denied) at the
// operation the environment names.  A stopped process is not a power cut:
// what it wrote before it stopped is in the system's cache and stays, so the
// sweep shows that the journal is written ahead and undone correctly at
// every point, not what a disk that loses its cache would keep.
#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "common/disk_ops.h"
#include "common/shared_count.h"
#include "install/journal_format.h"
#include "outcome.h"
#include "scenario.h"
#include "setup_process.h"
#include "support/files.h"
#include "support/processes.h"
#include "support/settings.h"
#include "texts.h"

namespace {

constexpr char kSweepMedium[] = "C:\\sweep";
constexpr char kRecoveryMedium[] = "C:\\recovery";
constexpr DWORD kRunTimeoutMs = 60000;
constexpr DWORD kRestartNeeded = 3010, kFailed = 1603, kAlreadyInstalled = 1638;

const char kManifest[] =
    "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
    "SETUP004=%sCorvane.dll\r\nSETUP005=%wCV32W.EXE\r\nSETUP006=%wUnsetup.exe\r\n"
    "[SetupPersent]\r\nSETUP001=20\r\nSETUP002=20\r\nSETUP003=20\r\nSETUP004=20\r\nSETUP005=10\r\nSETUP006=10\r\n"
    "[SetupLink]\r\nSETUP001=NO\r\nSETUP002=NO\r\nSETUP003=Unsetup.LNK\r\nSETUP004=NO\r\nSETUP005=NO\r\nSETUP006=UNSETUP.lnk\r\n";

std::string InstallFolder() { return texts::kDefaultFolder; }
std::string InSystem(const char* name) { return machine::Join(machine::SystemFolder(), name); }
std::string InWindows(const char* name) { return machine::Join(machine::WindowsFolder(), name); }
std::string Journal() { return InWindows(kJournalFileName); }
std::string SharedKeyName() { return kSharedDllsKey; }

// The library another program uses, held open as a running program holds
// its libraries: it cannot be renamed or deleted meanwhile.
class LibraryInUse {
 public:
  void Hold() {
    if (held_ == INVALID_HANDLE_VALUE)
      held_ = CreateFileA(InSystem("Corvane.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  }
  void Release() {
    if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
    held_ = INVALID_HANDLE_VALUE;
  }
  ~LibraryInUse() { Release(); }

 private:
  HANDLE held_ = INVALID_HANDLE_VALUE;
};

LibraryInUse g_library;

void LayOutMedia() {
  if (!machine::Exists(std::string(kRealMedium) + "\\_SETUP.PAK")) {
    Note("no real medium in %s (mkmedium or the real _SETUP.DLL was not built)", kRealMedium);
    std::exit(77);
  }
  machine::MakeFolders(kSweepMedium);
  machine::MakeFolders(kRecoveryMedium);
  for (const char* name : {"SETUP.EXE", "_SETUP.DLL", "_SETUP.PAK"}) {
    CopyFileA((std::string(kRealMedium) + "\\" + name).c_str(), (std::string(kSweepMedium) + "\\" + name).c_str(), FALSE);
  }
  machine::WriteFile(std::string(kSweepMedium) + "\\SETUP.INI", kManifest);
  CopyFileA((std::string(kRealMedium) + "\\SETUP.EXE").c_str(), (std::string(kRecoveryMedium) + "\\SETUP.EXE").c_str(),
            FALSE);
}

bool SameAnyCase(const char* a, int length, const char* b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a, length, b, -1) == CSTR_EQUAL;
}

// The [rename] lines of WININIT.INI, each as its target and its source.
std::vector<std::pair<std::string, std::string>> PendingRenames() {
  std::vector<std::pair<std::string, std::string>> renames;
  bool inRename = false;
  for (const std::string& line : machine::Lines(InWindows("WININIT.INI"))) {
    size_t equals = line.find('=');
    if (!line.empty() && line[0] == '[')
      inRename = SameAnyCase(line.c_str(), -1, "[rename]");
    else if (inRename && equals != std::string::npos)
      renames.push_back({line.substr(0, equals), line.substr(equals + 1)});
  }
  return renames;
}

// Names setup gives its temporary files and old copies, with a number that
// differs from run to run: CVB0A1F.TMP, CVS12AB.TMP.
std::string WithoutTempNumbers(std::string text) {
  for (size_t at = text.find("CV"); at != std::string::npos; at = text.find("CV", at + 1)) {
    if (at + 11 > text.size() || (text[at + 2] != 'B' && text[at + 2] != 'S')) continue;
    if (!SameAnyCase(text.c_str() + at + 7, 4, ".TMP")) continue;
    text.replace(at + 3, 4, "####");
  }
  return text;
}

// The PC before the install, laid out anew before every run.
void Arrange() {
  g_library.Release();
  machine::DeleteTree(InstallFolder());
  machine::DeleteTree(GroupFolder());
  for (const std::string& path : {MainLink(), ScheduleLink(), InWindows("CV32W.EXE"), Journal(),
                                  Journal() + kJournalRewriteSuffix, InWindows("WININIT.INI")}) {
    machine::DeleteTree(path);
  }
  for (const std::string& folder : {machine::SystemFolder(), machine::WindowsFolder()}) {
    for (const char* pattern : {"CVB????.TMP", "CVS????.TMP"}) {
      for (const std::string& name : machine::Names(folder, pattern)) machine::DeleteTree(machine::Join(folder, name));
    }
  }
  machine::MakeFolders(InstallFolder());
  machine::PlantOldFile(InstallFolder() + "\\Schedule.EXE", "an older scheduler", FILE_ATTRIBUTE_READONLY);
  machine::PlantOldFile(InSystem("Corvane.dll"), "another program's engine", FILE_ATTRIBUTE_NORMAL);
  machine::PlantOldFile(InWindows("Unsetup.exe"), "an older uninstaller", FILE_ATTRIBUTE_ARCHIVE);
  machine::SetRegistryNumber(HKEY_LOCAL_MACHINE, SharedKeyName(), InSystem("Corvane.dll").c_str(), 1);
  machine::SetProfile("Corvane", "Install", nullptr);
  machine::SetProfile("Corvane", "LInstall", nullptr);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, texts::kUninstallKey);
  g_library.Hold();
}

bool JournalFinished() {
  std::string text = machine::ReadFile(Journal()).value_or(machine::ReadFile(Journal() + kJournalRewriteSuffix).value_or(""));
  return text.find("\r\nOK\r\n") != std::string::npos;
}

// Every name the install touches or could touch, as "what it is" (contents,
// attributes) and, apart, "when it was written": a restored file must have
// its old time back, a new install's times are its own.
using Image = std::map<std::string, std::string>;
const char kTimePrefix[] = "time of ";

void AddFile(Image* image, const std::string& path) {
  machine::FileState state = machine::StateOf(path);
  if (!state.exists) return;
  std::string key = WithoutTempNumbers(path);
  if (state.attributes & FILE_ATTRIBUTE_DIRECTORY) {
    (*image)[key] = "folder";
    return;
  }
  bool link = path.size() > 4 && SameAnyCase(path.c_str() + path.size() - 4, 4, ".LNK");
  // A link holds its target's times: that it is there is what counts.
  (*image)[key] = link ? std::string("link") : Format("%lx ", state.attributes) + state.bytes;
  if (!link) (*image)[kTimePrefix + key] = Format("%lx%08lx", state.written.dwHighDateTime, state.written.dwLowDateTime);
}

void AddTree(Image* image, const std::string& folder) {
  if (!machine::Exists(folder)) return;
  AddFile(image, folder);
  machine::WalkTree(folder, [&](const std::string& path, bool) {
    // The hand-off to _ISDEL.EXE is written after the install, and only then.
    if (path != machine::Join(machine::FolderOf(path), "Setup.run")) AddFile(image, path);
  });
}

Image Snap() {
  Image image;
  AddTree(&image, InstallFolder());
  AddTree(&image, GroupFolder());
  AddFile(&image, MainLink());
  AddFile(&image, ScheduleLink());
  for (const std::string& folder : {machine::SystemFolder(), machine::WindowsFolder()}) {
    for (const char* name : {"Corvane.dll", "CV32W.EXE", "Unsetup.exe", "CVB????.TMP", "CVS????.TMP"}) {
      for (const std::string& found : machine::Names(folder, name)) AddFile(&image, machine::Join(folder, found));
    }
  }
  // A journal's text holds the time of its run: what it says is what counts.
  image["journal"] = !machine::Exists(Journal()) && !machine::Exists(Journal() + kJournalRewriteSuffix) ? "-"
                     : JournalFinished()                                                            ? "finished"
                                                                                                    : "unfinished";
  std::string renames;
  for (const auto& [target, source] : PendingRenames()) renames += WithoutTempNumbers(target + "=" + source) + "\n";
  image["WININIT.INI renames"] = renames;
  for (const char* key : {"Install", "LInstall"}) image[std::string("win.ini ") + key] = machine::Profile("Corvane", key).value_or("-");
  image["uninstall entry"] = machine::RegistryKeyExists(HKEY_LOCAL_MACHINE, texts::kUninstallKey) ? "there" : "-";
  for (const char* name : {"DisplayName", "UninstallString"})
    image[std::string("uninstall ") + name] = machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, name).value_or("-");
  auto count = machine::RegistryNumber(HKEY_LOCAL_MACHINE, SharedKeyName(), InSystem("Corvane.dll").c_str());
  image["SharedDLLs count"] = count ? Format("%lu", *count) : "-";
  return image;
}

// The differences, a line each (the first few), or "" when the images agree;
// without `times`, when files were written is not compared.
std::string Differences(const Image& want, const Image& have, bool times) {
  std::vector<std::string> lines;
  auto differ = [&](const std::string& key, const std::string& a, const std::string& b) {
    if (!times && key.compare(0, sizeof kTimePrefix - 1, kTimePrefix) == 0) return;
    if (a != b) lines.push_back(Show(key) + ": want " + Show(a.substr(0, 40)) + ", have " + Show(b.substr(0, 40)));
  };
  for (const auto& [key, value] : want) {
    auto found = have.find(key);
    differ(key, value, found == have.end() ? "(absent)" : found->second);
  }
  for (const auto& [key, value] : have)
    if (!want.count(key)) differ(key, "(absent)", value);
  std::string text;
  for (size_t i = 0; i < lines.size() && i < 6; ++i) text += "\n    " + lines[i];
  return text;
}

std::string RunLog() { return Bench().home + "\\run.log"; }

// A program of ours, silent, with a fault plan ("stop:12") or none, and with
// the list of its operations written to `list` when one is named; its log
// goes to RunLog().  Its exit code.
DWORD RunSilent(const std::string& program, const char* switches, const std::string& fault, const std::string& list) {
  SetChildEnvironment("CORVANE_FAULT", fault.empty() ? nullptr : fault.c_str());
  SetChildEnvironment("CORVANE_FAULT_LIST", list.empty() ? nullptr : list.c_str());
  machine::DeleteTree(RunLog());
  machine::Launch launch;
  launch.commandLine = "\"" + program + "\" " + switches + " \"/LOG=" + RunLog() + "\"";
  launch.folder = machine::WindowsFolder();
  DWORD code = machine::RunToEnd(launch, kRunTimeoutMs);
  SetChildEnvironment("CORVANE_FAULT", nullptr);
  SetChildEnvironment("CORVANE_FAULT_LIST", nullptr);
  return code;
}

DWORD RunSetup(const char* medium, const std::string& fault, const std::string& list = "") {
  return RunSilent(std::string(medium) + "\\SETUP.EXE", "/S /TASKS=00", fault, list);
}

// The operations of one run, as its list gives them: "12<TAB>move<TAB>C:\...".
std::vector<std::string> Operations(const char* medium) {
  std::string list = Bench().home + "\\operations.txt";
  machine::DeleteTree(list);
  RunSetup(medium, "", list);
  return machine::Lines(list);
}

// The product's uninstaller, run from outside the install folder (so that it
// hands nothing over to a copy of itself).
constexpr char kUninstaller[] = "C:\\sweep\\Unsetup.exe";

DWORD RunUninstaller(const std::string& fault, const std::string& list = "") {
  return RunSilent(kUninstaller, "/S", fault, list);
}

// The next start of setup: it finishes what the journal says and then stops
// at the medium that has no library.
DWORD Recover(const std::string& fault = "", const std::string& list = "") {
  g_library.Hold();
  return RunSetup(kRecoveryMedium, fault, list);
}

// What Windows 95 and 98 do with WININIT.INI when they next start, before
// any program runs: each line of [rename] puts its source in place of its
// target (a target of NUL deletes the source), then the file goes.
void Restart() {
  g_library.Release();
  for (const auto& [target, source] : PendingRenames()) {
    if (SameAnyCase(target.c_str(), -1, "NUL")) {
      DeleteFileA(source.c_str());
    } else {
      DeleteFileA(target.c_str());
      MoveFileA(source.c_str(), target.c_str());
    }
  }
  DeleteFileA(InWindows("WININIT.INI").c_str());
}

struct Images {
  Image before, after;
  std::vector<std::string> operations;
};

// The PC before, the operations of a whole install, and the PC it leaves.
Images Measure() {
  LayOutMedia();
  Images images;
  Arrange();
  images.before = Snap();
  images.operations = Operations(kSweepMedium);
  images.after = Snap();
  if (!JournalFinished()) Abort("the sweep's install did not finish; its operations:\n%s", ShowAll(images.operations).c_str());
  // The shared library was in use: it is replaced when Windows next starts.
  ExpectText(images.after.at("SharedDLLs count"), "2", "SharedDLLs count after the install");
  ExpectTrue(images.after.at("WININIT.INI renames").find("CORVANE.DLL") != std::string::npos ||
                 images.after.at("WININIT.INI renames").find("Corvane.dll") != std::string::npos,
             "the library in use is replaced at the next start");
  Note("a whole install: %zu operations", images.operations.size());
  return images;
}

// CORVANE_SWEEP_AT=k runs the sweeps at that one operation, for a look at it.
bool Sweeps(size_t k) {
  std::string only = machine::Environment("CORVANE_SWEEP_AT");
  return only.empty() || std::to_string(k) == only;
}

std::string Operation(const Images& images, size_t k) {
  return k >= 1 && k <= images.operations.size() ? images.operations[k - 1] : Format("%zu (none)", k);
}

void ExpectImage(const Image& want, bool times, const char* what, const std::string& at) {
  std::string differences = Differences(want, Snap(), times);
  if (!differences.empty()) {
    Fail("%s at operation %s differs:%s\n  the last run's log:\n%s", what, Show(at).c_str(), differences.c_str(),
         Show(machine::ReadFile(RunLog()).value_or("")).c_str());
  }
}

// Install stopped at k, then the next start: the PC as before, or, once the
// journal said the install was finished, as the install leaves it.
size_t SweepStops(const Images& images) {
  size_t finished = 0;
  for (size_t k = 1; k <= images.operations.size(); ++k) {
    if (!Sweeps(k)) continue;
    Arrange();
    DWORD code = RunSetup(kSweepMedium, Format("stop:%zu", k));
    if (code != ops::kStoppedExitCode) Fail("stopped at %s, setup ended with %lu", Operation(images, k).c_str(), code);
    bool done = JournalFinished();
    finished += done;
    DWORD recovered = Recover();
    if (recovered != (done ? kAlreadyInstalled : kFailed)) {
      Fail("after a stop at %s the next start ended with %lu", Operation(images, k).c_str(), recovered);
    }
    if (done)
      ExpectImage(images.after, false, "the finished install", Operation(images, k));
    else
      ExpectImage(images.before, true, "the PC after recovery", Operation(images, k));
  }
  return finished;
}

// One call failed at k: setup ends truthfully.  A failure it reports leaves
// the PC as before; one that its install tolerates (a folder, a link, a
// record that setup does not look at) leaves every product file installed.
void SweepFailures(const Images& images, const char* kind) {
  for (size_t k = 1; k <= images.operations.size(); ++k) {
    if (!Sweeps(k)) continue;
    Arrange();
    DWORD code = RunSetup(kSweepMedium, Format("%s:%zu", kind, k));
    if (code == 0 || code == kRestartNeeded) {
      Image have = Snap();
      for (const auto& [key, value] : images.after) {
        bool productFile = key.compare(0, InstallFolder().size(), InstallFolder()) == 0 ||
                           key.find("Corvane.dll") != std::string::npos;
        if (productFile && value != "folder" && have[key] != value)
          Fail("%s at %s: setup ended with %lu, but %s is not installed", kind, Operation(images, k).c_str(), code,
               Show(key).c_str());
      }
      if (!JournalFinished()) Fail("%s at %s: setup ended with %lu without a finished journal", kind, Operation(images, k).c_str(), code);
      continue;
    }
    if (code != kFailed) Fail("%s at %s: setup ended with %lu", kind, Operation(images, k).c_str(), code);
    ExpectImage(images.before, true, "the PC after a failed install", Operation(images, k));
  }
}

}  // namespace

SCENARIO(sweep_stops, "setup stopped dead at every operation of an install, then started again: the PC as before, or as a finished install leaves it") {
  Images images = Measure();
  size_t finished = SweepStops(images);
  Note("stops: %zu operations, %zu states checked, %zu of them after the install was recorded as finished",
       images.operations.size(), images.operations.size(), finished);
}

SCENARIO(sweep_disk_full, "each operation of an install failing as on a full disk: setup ends truthfully, and a failed install leaves the PC as before") {
  Images images = Measure();
  SweepFailures(images, "full");
  Note("disk full: %zu operations, %zu states checked", images.operations.size(), images.operations.size());
}

SCENARIO(sweep_access_denied, "each operation of an install refused as access denied: setup ends truthfully, and a failed install leaves the PC as before") {
  Images images = Measure();
  SweepFailures(images, "deny");
  Note("access denied: %zu operations, %zu states checked", images.operations.size(), images.operations.size());
}

SCENARIO(sweep_recovery, "the recovery of an install stopped just before it finished, itself stopped at every operation and started again: the PC as before") {
  Images images = Measure();
  // The last point before the journal says finished: the most to undo.
  size_t last = images.operations.size();
  for (; last > 0; --last) {
    Arrange();
    RunSetup(kSweepMedium, Format("stop:%zu", last));
    if (!JournalFinished()) break;
  }
  std::string list = Bench().home + "\\recovery.txt";
  machine::DeleteTree(list);
  Recover("", list);
  std::vector<std::string> recovery = machine::Lines(list);
  ExpectImage(images.before, true, "one clean recovery", Operation(images, last));
  for (size_t m = 1; m <= recovery.size(); ++m) {
    if (!Sweeps(m)) continue;
    Arrange();
    RunSetup(kSweepMedium, Format("stop:%zu", last));
    DWORD code = Recover(Format("stop:%zu", m));
    if (code != ops::kStoppedExitCode) Fail("recovery stopped at %s ended with %lu", Show(recovery[m - 1]).c_str(), code);
    Recover();
    ExpectImage(images.before, true, "a recovery stopped and started again", recovery[m - 1]);
  }
  Note("recovery of the install stopped at %s: %zu operations, %zu states checked", Show(Operation(images, last)).c_str(),
       recovery.size(), recovery.size() + 1);
}

SCENARIO(sweep_restart, "setup stopped at every operation, Windows restarted before setup starts again, the library in use again at the recovery: after the next restart the PC is as before") {
  Images images = Measure();
  size_t checked = 0;
  for (size_t k = 1; k <= images.operations.size(); ++k) {
    if (!Sweeps(k)) continue;
    Arrange();
    RunSetup(kSweepMedium, Format("stop:%zu", k));
    if (JournalFinished()) continue;
    Restart();
    Recover();
    // The library is held again: its old copy goes back when Windows next starts.
    Restart();
    ExpectImage(images.before, true, "the PC after a restart, the recovery and a restart", Operation(images, k));
    ++checked;
  }
  Note("restarts: %zu operations, %zu states checked", images.operations.size(), checked);
}

SCENARIO(sweep_uninstall, "the uninstaller stopped dead at every operation of a removal, then run again: everything setup made is gone once, a file of the user's and the count of the library another program uses stay") {
  Images images = Measure();
  CopyFileA((InstallFolder() + "\\Unsetup.exe").c_str(), kUninstaller, FALSE);
  const std::string notes = InstallFolder() + "\\내 메모.txt";
  auto installed = [&]() {
    Arrange();
    if (RunSetup(kSweepMedium, "") != kRestartNeeded) Abort("the sweep's install did not finish");
    machine::PlantOldFile(notes, "the user's own notes", FILE_ATTRIBUTE_NORMAL);
  };
  installed();
  std::string list = Bench().home + "\\removal.txt";
  machine::DeleteTree(list);
  DWORD code = RunUninstaller("", list);
  std::vector<std::string> removal = machine::Lines(list);
  Image removed = Snap();
  Note("a whole removal: %zu operations, ended with %lu", removal.size(), code);
  ExpectText(removed.at("SharedDLLs count"), "1", "the other program's count after the removal");
  ExpectTrue(removed.count(WithoutTempNumbers(notes)) == 1, "the user's file stays");
  for (size_t k = 1; k <= removal.size(); ++k) {
    if (!Sweeps(k)) continue;
    installed();
    code = RunUninstaller(Format("stop:%zu", k));
    if (code != ops::kStoppedExitCode) Fail("the uninstaller stopped at %s ended with %lu", Show(removal[k - 1]).c_str(), code);
    RunUninstaller("");
    ExpectImage(removed, true, "the PC after a stopped removal and a second one", removal[k - 1]);
  }
  Note("removal: %zu operations, %zu states checked", removal.size(), removal.size());
}
