// The install engine end to end: manifests of every shape, the real support
// library with its payload store, copies that fail and what they leave
// behind, and the shell registration read back through the shell's own link
// object, win.ini and the registry.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "install/journal_format.h"
#include "outcome.h"
#include "payload_store.h"
#include "scenario.h"
#include "support/files.h"
#include "support/links.h"
#include "support/settings.h"
#include "texts.h"
#include "wizard.h"

namespace {

// run-scenario.sh names the folder that the real medium's files came from.
const char kRealSourcesVariable[] = "CORVANE_E2E_REAL_SOURCES";
constexpr int kCopyStatusId = 1007;
constexpr int kCopyBarId = 3;
constexpr COLORREF kBarFill = 0x7F0000;

// ---------------------------------------------------------------- places

std::string InMedium(const std::string& name) { return machine::Join(Bench().medium, name); }

void WriteManifest(const std::string& text) {
  if (!machine::WriteFile(InMedium("SETUP.INI"), text)) Abort("cannot write the medium's SETUP.INI");
}

void CopyInto(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
    Abort("cannot copy %s to %s (error %lu)", Show(from).c_str(), Show(to).c_str(), GetLastError());
  }
}

// The real _SETUP.DLL in place of the double on the test medium; its payload
// store is the scenario's to put beside it.
void UseRealLibrary() {
  std::string library = machine::Join(kRealMedium, "_SETUP.DLL");
  if (!machine::Exists(library)) Skip("no real medium in C:\\realcd: the real _SETUP.DLL or mkmedium was not built");
  CopyInto(library, InMedium("_SETUP.DLL"));
}

// The real DELTREE.EXE in C:\windows\command, where setup's removal command
// finds it, instead of the double that only records its command line.
void UseRealDeltree() {
  std::string real = Bench().home + "\\real\\DELTREE.EXE";
  if (!machine::Exists(real)) Skip("DELTREE.EXE was not built");
  CopyInto(real, machine::WindowsFolder() + "\\command\\DELTREE.EXE");
}

// A profile value of a medium's manifest, "Error" when absent, as setup reads it.
std::string ManifestValue(const std::string& manifest, const char* section, int n) {
  char value[600];
  GetPrivateProfileStringA(section, Format("SETUP%03d", n).c_str(), "Error", value, sizeof value, manifest.c_str());
  return value;
}

// ---------------------------------------------------------- payload store

// Damages one member of a store file so that the store opens and only that
// member fails its check.
bool DamageMember(const std::string& storePath, const std::string& name) {
  std::optional<std::string> store = machine::ReadFile(storePath);
  if (!store) return false;
  // Members may share a zstd frame, where damaged bytes would fail whichever
  // member they fall in: the check that is each member's own is its
  // checksum.
  if (!SpoilMemberChecksum(&*store, [&](const std::string& member) { return text::SameText(member, name); })) {
    return false;
  }
  return machine::WriteFile(storePath, *store);
}

// Contents that tell every byte position apart, zero bytes and line breaks
// included.
std::string Pattern(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  uint32_t x = seed | 1;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    out[i] = static_cast<char>(x >> 24);
  }
  return out;
}

// ------------------------------------------------------------- read-backs

// A shortcut as setup makes it: the target, the start-in folder derived from
// it, and the description derived from the link path as setup gave it.
void ExpectLink(const std::string& link, const std::string& target, const std::string& description) {
  if (!machine::Exists(link)) {
    Fail("no shortcut %s", Show(link).c_str());
    return;
  }
  machine::LinkView view = machine::ReadLink(link);
  if (!view.loaded) {
    Fail("the shortcut %s does not load as a shell link", Show(link).c_str());
    return;
  }
  std::string what = "shortcut " + Show(link);
  ExpectText(view.path, target, (what + " target").c_str());
  ExpectText(view.directory, target.substr(0, target.find_last_of('\\')), (what + " working directory").c_str());
  ExpectText(view.description, description, (what + " description").c_str());
}

// A REG_SZ value of the uninstall entry.  Its stored size says nothing here:
// Wine, like the NT family, adds a terminator that the writer left out.
void ExpectStringValue(const char* name, const std::string& want) {
  std::optional<machine::RegistryValue> value =
      machine::ReadRegistryValue(HKEY_LOCAL_MACHINE, texts::kUninstallKey, name);
  std::string what = Format("uninstall entry %s", name);
  if (!value) {
    Fail("%s is absent", what.c_str());
    return;
  }
  ExpectNumber(value->type, REG_SZ, (what + " type").c_str());
  ExpectText(value->bytes.substr(0, value->bytes.find('\0')), want, what.c_str());
}

// The registration that every completed copy ends with, whatever the
// manifest: the group folder, the two fixed shortcuts, both win.ini records
// and the uninstall entry.
void ExpectFixedRegistration(const std::string& installFolder) {
  std::string group = GroupFolder();
  if (!machine::IsFolder(group)) Fail("the program group %s was not made", Show(group).c_str());
  ExpectLink(MainLink(), installFolder + "\\CV32W.EXE",
             group + "\\..\\..\\코르바네");
  ExpectLink(ScheduleLink(), installFolder + "\\Schedule.EXE", group + "\\..\\시작프로그램\\예약검사");
  ExpectText(machine::Profile("Corvane", "Install").value_or("(absent)"), installFolder, "win.ini Corvane Install");
  ExpectText(machine::Profile("Corvane", "LInstall").value_or("(absent)"), group, "win.ini Corvane LInstall");
  ExpectStringValue("DisplayName", texts::kUninstallName);
  ExpectStringValue("UninstallString", "\"" + installFolder + "\\Unsetup.exe\"");
}

// The program group holds exactly these links (by name, any letter case).
void ExpectGroupLinks(const std::vector<std::string>& want) {
  std::vector<std::string> seen = machine::Names(GroupFolder());
  std::vector<std::string> a, b;
  for (const std::string& name : seen) a.push_back(text::Lower(name));
  for (const std::string& name : want) b.push_back(text::Lower(name));
  std::sort(b.begin(), b.end());
  if (a != b) Fail("the program group holds %s; expected %s", ShowAll(seen).c_str(), ShowAll(want).c_str());
}

void ExpectSameFile(const std::string& installed, const std::string& sourceBytes, const std::string& sourceName) {
  std::optional<std::string> bytes = machine::ReadFile(installed);
  if (!bytes) {
    Fail("%s was not installed", Show(installed).c_str());
    return;
  }
  if (*bytes == sourceBytes) return;
  size_t at = 0;
  while (at < bytes->size() && at < sourceBytes.size() && (*bytes)[at] == sourceBytes[at]) ++at;
  Fail("%s differs from %s: %zu bytes against %zu, first difference at byte %zu", Show(installed).c_str(),
       Show(sourceName).c_str(), bytes->size(), sourceBytes.size(), at);
}

void ExpectFolders(const std::string& installFolder) {
  for (const char* sub : {"", "\\VProtect", "\\Update", "\\Vlist"}) {
    std::string path = installFolder + sub;
    if (!machine::IsFolder(path)) Fail("folder %s was not made", Show(path).c_str());
  }
}

// The support library unpacks beside the target under a temporary name, and
// setup keeps a replaced file aside until the install is finished: neither
// may stay behind.
void ExpectNoTemporaryFiles(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    for (const char* pattern : {kLibraryTempPattern, kAsidePattern}) {
      std::vector<std::string> left = machine::Names(folder, pattern);
      if (!left.empty()) Fail("temporary files left in %s: %s", Show(folder).c_str(), ShowAll(left).c_str());
    }
  }
}

bool WaitGone(const std::string& path, unsigned timeoutMs) {
  return ui::WaitUntil([&] { return !machine::Exists(path); }, timeoutMs, 50);
}

// ------------------------------------------------------------- copy page

// The percentage a CvProBar shows, read off the screen: the fill covers the
// client area from its left edge to left + width * percent / 100.  The top
// row of the client area carries no label ink.  -1 when the row is neither
// a fill followed by the white ground nor readable.
int ShownPercent(HWND bar) {
  RECT client;
  if (!IsWindow(bar) || !GetClientRect(bar, &client) || client.right <= 100) return -1;
  POINT origin{0, 0};
  ClientToScreen(bar, &origin);
  int width = client.right;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP row = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, row);
  BOOL copied = BitBlt(memory, 0, 0, width, 1, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  int percent = -1;
  if (copied && bits) {
    const uint32_t* pixel = static_cast<const uint32_t*>(bits);
    // 32-bit DIB pixels are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    const uint32_t fill = (GetRValue(kBarFill) << 16) | (GetGValue(kBarFill) << 8) | GetBValue(kBarFill);
    int split = 0;
    while (split < width && (pixel[split] & 0xFFFFFF) == fill) ++split;
    bool ground = true;
    for (int x = split; x < width; ++x) ground = ground && (pixel[x] & 0xFFFFFF) == 0xFFFFFF;
    if (ground) {
      for (int p = 0; p <= 100; ++p) {
        if (width * p / 100 == split) percent = p;
      }
    }
  }
  SelectObject(memory, old);
  DeleteObject(row);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return percent;
}

struct CopySample {
  std::string status;  // text of the status line 1007
  int percent;         // as the bar shows it; -1 unreadable
};

// Samples the copy page's status line and bar until the page goes away (or
// setup shows a message box).  `onSample` may act on the page meanwhile.
std::vector<CopySample> FollowCopy(Wizard& wizard, const std::function<void(const CopySample&)>& onSample = nullptr) {
  HWND copy = wizard.PageWindow();
  HWND status = ui::Item(copy, kCopyStatusId);
  HWND bar = ui::Item(copy, kCopyBarId);
  DWORD pid = wizard.Setup().Pid();
  std::vector<CopySample> samples;
  ui::WaitUntil(
      [&] {
        if (!IsWindow(copy) || !IsWindowVisible(copy) || !wizard.Setup().Running()) return true;
        for (HWND window : ui::TopLevel(pid)) {
          if (IsWindowVisible(window) && IsMessageBox(window)) return true;
        }
        CopySample sample{ui::Title(status), ShownPercent(bar)};
        if (!IsWindowVisible(copy)) return true;
        samples.push_back(sample);
        if (onSample) onSample(sample);
        return false;
      },
      60000, 10);
  Note("copy page followed: %zu samples", samples.size());
  return samples;
}

std::vector<std::string> Statuses(const std::vector<CopySample>& samples) {
  std::vector<std::string> shown;
  for (const CopySample& s : samples) {
    if (!s.status.empty() && (shown.empty() || shown.back() != s.status)) shown.push_back(s.status);
  }
  return shown;
}

// The percentage the bar showed longest while `status` was up.
int SteadyPercent(const std::vector<CopySample>& samples, const std::string& status) {
  std::map<int, int> counts;
  for (const CopySample& s : samples) {
    if (s.status == status && s.percent >= 0) ++counts[s.percent];
  }
  int best = -1, most = 0;
  for (const auto& [percent, count] : counts) {
    if (count > most) best = percent, most = count;
  }
  return best;
}

// What was seen must be `want` in order; polling may miss a short line, but
// `must` lines have to be among them.
void ExpectStatusOrder(const std::vector<std::string>& shown, const std::vector<std::string>& want,
                       const std::vector<std::string>& must) {
  size_t at = 0;
  for (const std::string& line : shown) {
    while (at < want.size() && want[at] != line) ++at;
    if (at == want.size()) {
      Fail("the copy page showed %s out of order or not from the manifest; it showed %s", Show(line).c_str(),
           ShowAll(shown).c_str());
      return;
    }
  }
  for (const std::string& line : must) {
    if (std::find(shown.begin(), shown.end(), line) == shown.end()) {
      Fail("the copy page never showed %s; it showed %s", Show(line).c_str(), ShowAll(shown).c_str());
    }
  }
}

void ExpectCalls(const std::vector<InstallCall>& want) {
  std::vector<InstallCall> calls = InstallCalls();
  ExpectNumber(static_cast<long long>(calls.size()), static_cast<long long>(want.size()), "InitInstall calls");
  for (size_t i = 0; i < calls.size() && i < want.size(); ++i) {
    ExpectText(calls[i].folder + "|" + calls[i].name, want[i].folder + "|" + want[i].name,
               Format("InitInstall call %zu (folder|name)", i + 1).c_str());
  }
}

// Finishes the wizard from the task page with every task, as most users do.
void FinishFromTasks(Wizard& wizard) {
  wizard.Go(IDOK, Page::Finish);
  wizard.Send(Ask::Button, IDOK);
  wizard.Setup().ExpectEnd(10000, "the finish button");
}

// A copy with nothing to install: the folders are made, the page shows no
// file and the bar stays at 0% until the registration ends the page; then
// the task page and the finish.
void ExpectNothingToCopy(const char* manifest) {
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  std::vector<CopySample> samples = FollowCopy(wizard);
  wizard.Expect(Page::Tasks, 30000);
  int atZero = 0;
  for (const CopySample& s : samples) {
    if (!s.status.empty()) Fail("with %s the copy page showed %s", manifest, Show(s.status).c_str());
    if (s.percent > 0) Fail("with %s the bar showed %d%%", manifest, s.percent);
    atZero += s.percent == 0;
  }
  if (atZero == 0) Fail("the bar was never seen at 0%%");
  ExpectCalls({});
  ExpectFolders(texts::kDefaultFolder);
  ExpectFixedRegistration(texts::kDefaultFolder);
  ExpectGroupLinks({});
  FinishFromTasks(wizard);
  ExpectSetupRun(texts::kDefaultFolder, 0x1F);
}

// --------------------------------------------------------- failed copies

// Nothing of the registration, no hand-over: what a failed copy must not reach.
void ExpectStoppedBeforeRegistration() {
  ExpectNotRegistered();
  if (machine::Exists(ScheduleLink())) Fail("the shortcut %s was made", Show(ScheduleLink()).c_str());
  ExpectNoSetupRun(texts::kDefaultFolder);
  ExpectNoFollowUp();
}

// Files that a run must leave exactly as it found them, and where it must
// leave nothing of its own.
struct Untouched {
  std::vector<std::pair<std::string, machine::FileState>> files;
  std::vector<std::string> folders;

  void Plant(const std::string& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    if (!machine::PlantOldFile(path, bytes, attributes)) Abort("cannot plant %s", Show(path).c_str());
    files.push_back({path, machine::StateOf(path)});
    std::string folder = path.substr(0, path.find_last_of('\\'));
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }

  // Every planted file byte-identical, with its attributes and time stamp;
  // no old copy or temporary file left beside them; no journal left.
  void Expect(const char* after) const {
    for (const auto& [path, before] : files) {
      machine::FileState now = machine::StateOf(path);
      if (!now.exists) {
        Fail("after %s %s is gone", after, Show(path).c_str());
      } else if (!(now == before)) {
        Fail("after %s %s is not as it was (%zu bytes, attributes %lX, against %zu bytes, %lX)", after,
             Show(path).c_str(), now.bytes.size(), now.attributes, before.bytes.size(), before.attributes);
      }
    }
    ExpectNoTemporaryFiles(folders);
    std::string journal = machine::Join(machine::WindowsFolder(), kJournalFileName);
    if (machine::Exists(journal)) Fail("after %s the journal %s is still there", after, Show(journal).c_str());
  }
};

// The install folder exists before setup with an older Schedule.EXE
// (read-only, as copied from a CD) and the user's notes; the system and Windows folders
// hold older copies of the manifest's CVSYS.DLL and CVWIN.INI.  The copy
// fails at InitInstall call `failAt` (the double's count), for `name`:
// afterwards the PC is exactly as it was before the run.
void FailCopyAt(int failAt, const std::string& name) {
  PrepareMachine();
  UseRealDeltree();
  const std::string folder = texts::kDefaultFolder;
  machine::MakeFolders(folder);
  Untouched untouched;
  untouched.Plant(folder + "\\Schedule.EXE", "MZ an older Schedule.EXE", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  untouched.Plant(folder + "\\notes.txt", "the user's own notes");
  untouched.Plant(machine::SystemFolder() + "\\CVSYS.DLL", "MZ an older CVSYS.DLL");
  untouched.Plant(machine::WindowsFolder() + "\\CVWIN.INI", "[older]\r\n");
  SetChildEnvironment("CORVANE_SETUPDLL_FAIL_AT", std::to_string(failAt).c_str());
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  wizard.ExpectCopyFailure(name);
  ExpectLibraryReleased(setup.Pid());
  std::vector<InstallCall> calls = InstallCalls();
  ExpectNumber(static_cast<long long>(calls.size()), failAt, "InitInstall calls up to the failure");
  if (!calls.empty()) ExpectText(calls.back().result, "0", "result of the last InitInstall call");
  ExpectStoppedBeforeRegistration();
  // Give the removal command time to go wrong.
  Sleep(1500);
  untouched.Expect("the failed copy");
  std::vector<std::string> left = machine::Names(folder, "*.*", true);
  if (left != std::vector<std::string>{"notes.txt", "Schedule.EXE"}) {
    Fail("the install folder holds %s; expected notes.txt and Schedule.EXE only", ShowAll(left).c_str());
  }
}

}  // namespace

// ------------------------------------------------------------- scenarios

SCENARIO(install_real_example, "the real _SETUP.DLL and a payload store: five entries (3 plain, %S, %w), bar total 100; files byte-exact, links read back, registration") {
  PrepareMachine();
  UseRealLibrary();
  const std::string system = machine::SystemFolder(), windows = machine::WindowsFolder();
  std::vector<StoreMember> members = {
      {"CV32W.EXE", "MZ" + Pattern(200000, 1), true},
      {"Schedule.EXE", "MZ" + Pattern(70001, 2), false},
      {"Unsetup.exe", "MZ" + Pattern(30000, 3), true},
      {"SAMPLE.DLL", "", false},
      {"SAMPLE.INI", "[Sample]\r\n이름=코르바네\r\n", true},
  };
  for (int i = 0; i < 4096; ++i) members[3].contents.push_back(static_cast<char>(i));
  if (!machine::WriteFile(InMedium("_SETUP.PAK"), PayloadStore(members))) Abort("cannot write the payload store");
  WriteManifest(
      "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
      "SETUP004=%SSAMPLE.DLL\r\nSETUP005=%wSAMPLE.INI\r\n\r\n"
      "[SetupPersent]\r\nSETUP001=40\r\nSETUP002=20\r\nSETUP003=10\r\nSETUP004=20\r\nSETUP005=10\r\n\r\n"
      "[SetupLink]\r\nSETUP001=NO\r\nSETUP002=NO\r\nSETUP003=Unsetup.LNK\r\n");
  // %w replaces an old copy; %S finds none and installs.
  DeleteFileA((system + "\\SAMPLE.DLL").c_str());
  machine::WriteFile(windows + "\\SAMPLE.INI", "an older sample");

  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  std::vector<CopySample> samples = FollowCopy(wizard);
  const std::string folder = texts::kDefaultFolder;
  ExpectStatusOrder(Statuses(samples),
                    {folder + "\\CV32W.EXE", folder + "\\Schedule.EXE", folder + "\\Unsetup.exe",
                     system + "\\SAMPLE.DLL", windows + "\\SAMPLE.INI"},
                    {});
  wizard.Expect(Page::Tasks, 60000);
  FinishFromTasks(wizard);

  ExpectFolders(folder);
  ExpectSameFile(folder + "\\CV32W.EXE", members[0].contents, "CV32W.EXE of the store");
  ExpectSameFile(folder + "\\Schedule.EXE", members[1].contents, "Schedule.EXE of the store");
  ExpectSameFile(folder + "\\Unsetup.exe", members[2].contents, "Unsetup.exe of the store");
  ExpectSameFile(system + "\\SAMPLE.DLL", members[3].contents, "SAMPLE.DLL of the store");
  ExpectSameFile(windows + "\\SAMPLE.INI", members[4].contents, "SAMPLE.INI of the store");
  ExpectNoTemporaryFiles({folder, system, windows});
  ExpectFixedRegistration(folder);
  ExpectGroupLinks({"Unsetup.LNK"});
  ExpectLink(GroupFolder() + "\\Unsetup.LNK", folder + "\\Unsetup.exe", GroupFolder() + "\\Unsetup");
  ExpectSetupRun(folder, 0x1F);
  ExpectFollowUpStarted(0x1F);
}

namespace {

// The whole wizard with the scan on a real medium as mkmedium makes it, in
// `medium`, started by `launch`: product files byte-exact and writable,
// links, registration, _ISDEL.EXE takes over.
void WalkRealMedium(const std::string& medium, const Launch& launch) {
  const std::string manifest = machine::Join(medium, "SETUP.INI");
  std::string sources = machine::Environment(kRealSourcesVariable);
  if (sources.empty()) Abort("%s does not name the folder the real medium was made from", kRealSourcesVariable);
  PrepareMachine();
  SetupProcess setup(launch);
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Folder, true);
  wizard.WalkTo(Page::Copy);
  std::vector<CopySample> samples = FollowCopy(wizard);
  HWND page = wizard.Expect(Page::Tasks, 60000);
  // Scheduled scan and the product would start programs; the other three are
  // only recorded for the product.
  for (int id : {1013, 1014}) {
    ui::Click(page, id);
    if (!ui::WaitUntil([&] { return ui::Check(page, id) == BST_UNCHECKED; }, 3000)) Fail("task box %d stays checked", id);
  }
  FinishFromTasks(wizard);

  const std::string folder = texts::kDefaultFolder;
  ExpectFolders(folder);
  std::vector<std::string> links;
  int entries = 0;
  for (int n = 1;; ++n) {
    std::string value = ManifestValue(manifest, "SetupFiles", n);
    if (value == "Error") break;
    ++entries;
    std::string target = folder, name = value;
    if (value.size() >= 2 && value[0] == '%') {
      name = value.substr(2);
      if (value[1] == 'S' || value[1] == 's') target = machine::SystemFolder();
      if (value[1] == 'W' || value[1] == 'w') target = machine::WindowsFolder();
    }
    std::optional<std::string> source = machine::ReadFile(machine::Join(sources, name));
    if (!source) {
      Fail("no source %s for the manifest's %s", Show(machine::Join(sources, name)).c_str(), Show(value).c_str());
      continue;
    }
    ExpectSameFile(machine::Join(target, name), *source, machine::Join(sources, name));
    // A medium on a CD-ROM has read-only files; what setup makes of them must not be.
    const DWORD attributes = GetFileAttributesA(machine::Join(target, name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      Fail("%s was installed read-only", Show(machine::Join(target, name)).c_str());
    }
  }
  for (int n = 1;; ++n) {
    std::string link = ManifestValue(manifest, "SetupLink", n);
    if (link == "Error") break;
    if (link == "NO") continue;
    links.push_back(link);
    ExpectLink(GroupFolder() + "\\" + link, folder + "\\" + ManifestValue(manifest, "SetupFiles", n),
               GroupFolder() + "\\" + link.substr(0, link.size() - 4));
  }
  if (entries == 0) Fail("the real medium's manifest lists no file");
  std::vector<std::string> shown = Statuses(samples);
  if (shown.empty()) Fail("the copy page never showed a file");
  ExpectNoTemporaryFiles({folder});
  ExpectFixedRegistration(folder);
  ExpectGroupLinks(links);
  std::string setupRun = folder + "\\Setup.run";
  if (!ui::WaitUntil([&] { return !machine::Exists(setupRun); }, 15000, 50)) {
    Fail("the medium's _ISDEL.EXE did not take over %s", Show(setupRun).c_str());
  }
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The icons of a program file, which the shell numbers from 0.
int IconCount(const std::string& program) {
  HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) Abort("cannot read the resources of %s", Show(program).c_str());
  int icons = 0;
  EnumResourceNamesA(image, RT_GROUP_ICON, CountName, reinterpret_cast<LONG_PTR>(&icons));
  FreeLibrary(image);
  return icons;
}

}  // namespace

SCENARIO(install_real_medium, "the real medium C:\\realcd as mkmedium makes it, walked to the end with the scan: product files byte-exact, links, registration, _ISDEL.EXE takes over") {
  if (!machine::Exists(machine::Join(kRealMedium, "SETUP.INI"))) Skip("no real medium in C:\\realcd: the real _SETUP.DLL or mkmedium was not built");
  WalkRealMedium(kRealMedium, FromRealMedium());
}

SCENARIO(install_empty_manifest, "a manifest whose lists end at once (SETUP001=Error): four folders, bar stays 0, no call, full registration, task page") {
  PrepareMachine();
  // Entries after the first "Error" are never read: no file, no link.
  WriteManifest(
      "[SetupFiles]\r\nSETUP001=Error\r\nSETUP002=CV32W.EXE\r\n\r\n"
      "[SetupPersent]\r\nSETUP001=50\r\nSETUP002=50\r\n\r\n"
      "[SetupLink]\r\nSETUP001=First.LNK\r\nSETUP002=Second.LNK\r\n");
  ExpectNothingToCopy("an empty manifest");
}

SCENARIO(install_missing_manifest, "no SETUP.INI on the medium: four folders, bar stays 0, no call, full registration, task page") {
  PrepareMachine();
  if (!DeleteFileA(InMedium("SETUP.INI").c_str())) Abort("cannot remove the medium's SETUP.INI");
  ExpectNothingToCopy("no manifest");
}

SCENARIO(install_skip_existing, "%S and %W files already there: no call, old files kept, their paths shown, the bar still advances; %s installs over; stored sum by a repaint") {
  PrepareMachine();
  const std::string system = machine::SystemFolder(), windows = machine::WindowsFolder();
  const std::string folder = texts::kDefaultFolder;
  machine::WriteFile(system + "\\CVSKIP.DLL", "the system's own CVSKIP.DLL");
  machine::WriteFile(windows + "\\CVSKIP.INI", "the user's CVSKIP.INI");
  machine::WriteFile(system + "\\CVOVER.DLL", "an old CVOVER.DLL");
  WriteManifest(
      "[SetupFiles]\r\nSETUP001=CVFIRST.EXE\r\nSETUP002=%SCVSKIP.DLL\r\nSETUP003=%WCVSKIP.INI\r\n"
      "SETUP004=%sCVOVER.DLL\r\nSETUP005=CVLAST.EXE\r\nSETUP006=CVZERO.EXE\r\n\r\n"
      "[SetupPersent]\r\nSETUP001=10\r\nSETUP002=30\r\nSETUP003=20\r\nSETUP004=10\r\nSETUP005=30\r\n\r\n"
      "[SetupLink]\r\nSETUP001=NO\r\n");
  // Each call takes a second, long enough to read the bar between two files.
  SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", "1000");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  const std::string first = folder + "\\CVFIRST.EXE", skipSystem = system + "\\CVSKIP.DLL",
                    skipWindows = windows + "\\CVSKIP.INI", over = system + "\\CVOVER.DLL",
                    last = folder + "\\CVLAST.EXE", zero = folder + "\\CVZERO.EXE";
  // While CVLAST.EXE is being made, ask for a repaint of the bar: the job's
  // next drain paints it from the stored percentage, which CVZERO.EXE's call
  // then keeps on screen.
  bool repaintAsked = false;
  HWND bar = ui::Item(wizard.PageWindow(), kCopyBarId);
  std::vector<CopySample> samples = FollowCopy(wizard, [&](const CopySample& s) {
    if (!repaintAsked && s.status == last) {
      repaintAsked = true;
      InvalidateRect(bar, nullptr, FALSE);
    }
  });
  wizard.Expect(Page::Tasks, 30000);

  ExpectCalls({{folder, "CVFIRST.EXE", ""}, {system, "CVOVER.DLL", ""}, {folder, "CVLAST.EXE", ""}, {folder, "CVZERO.EXE", ""}});
  ExpectText(machine::ReadFile(skipSystem).value_or("(gone)"), "the system's own CVSKIP.DLL", "CVSKIP.DLL kept in the system folder");
  ExpectText(machine::ReadFile(skipWindows).value_or("(gone)"), "the user's CVSKIP.INI", "CVSKIP.INI kept in the Windows folder");
  ExpectText(machine::ReadFile(over).value_or("(gone)"), "", "CVOVER.DLL replaced by the double's empty file");
  if (machine::Exists(folder + "\\CVSKIP.DLL") || machine::Exists(folder + "\\CVSKIP.INI")) {
    Fail("a skipped file was made in the install folder");
  }
  ExpectStatusOrder(Statuses(samples), {first, skipSystem, skipWindows, over, last, zero},
                    {first, skipSystem, skipWindows, over, last, zero});
  // During each call the bar holds the last value drawn: one below the sum of
  // the points so far (or the sum itself, should a repaint come between).
  struct Steady {
    const std::string* status;
    int sum;
  };
  for (const Steady& steady : {Steady{&first, 0}, Steady{&over, 60}, Steady{&last, 70}}) {
    int seen = SteadyPercent(samples, *steady.status);
    Note("while %s was being made the bar showed %d%%", Show(*steady.status).c_str(), seen);
    bool ok = steady.sum == 0 ? seen == 0 : seen == steady.sum - 1 || seen == steady.sum;
    if (!ok) {
      Fail("while %s was being made the bar showed %d%%, expected %d%% (the points before it)",
           Show(*steady.status).c_str(), seen, steady.sum ? steady.sum - 1 : 0);
    }
  }
  ExpectNumber(SteadyPercent(samples, zero), 100, "bar repainted during CVZERO.EXE (0 points): the stored sum");
  ExpectFixedRegistration(folder);
  wizard.ConfirmQuit(Ask::Button);
}

SCENARIO(install_links, "SetupLink NO, no, a lower-case .lnk on a %s entry, then a gap: the walk ends at the gap") {
  PrepareMachine();
  WriteManifest(
      "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
      "SETUP004=%sCVSYS.DLL\r\nSETUP005=CVHELP.HLP\r\nSETUP006=CVREAD.TXT\r\n\r\n"
      "[SetupPersent]\r\nSETUP001=40\r\nSETUP002=20\r\nSETUP003=10\r\nSETUP004=10\r\nSETUP005=10\r\nSETUP006=10\r\n\r\n"
      "[SetupLink]\r\nSETUP001=NO\r\nSETUP002=no\r\nSETUP003=Unsetup.LNK\r\nSETUP004=cvsys.lnk\r\n"
      "SETUP006=Readme.LNK\r\n");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Tasks);
  const std::string folder = texts::kDefaultFolder, group = GroupFolder();
  ExpectNumber(static_cast<long long>(InstallCalls().size()), 6, "InitInstall calls");
  ExpectGroupLinks({"Unsetup.LNK", "cvsys.lnk"});
  ExpectLink(group + "\\Unsetup.LNK", folder + "\\Unsetup.exe", group + "\\Unsetup");
  // A link on a prefixed entry points into the install folder, prefix and all.
  ExpectLink(group + "\\cvsys.lnk", folder + "\\%sCVSYS.DLL", group + "\\cvsys");
  ExpectFixedRegistration(folder);
  wizard.ConfirmQuit(Ask::Button);
}

SCENARIO(install_fail_first, "InitInstall fails for the first file: message names CV32W.EXE, nothing registered, every file as before") {
  FailCopyAt(1, "CV32W.EXE");
}

SCENARIO(install_fail_middle, "InitInstall fails for %sCVSYS.DLL in the middle: message names CVSYS.DLL without prefix or folder, every file as before") {
  FailCopyAt(4, "CVSYS.DLL");
}

SCENARIO(install_fail_last, "InitInstall fails for the last file, %wCVWIN.INI: message names CVWIN.INI, the replaced system file restored, every file as before") {
  FailCopyAt(5, "CVWIN.INI");
}

SCENARIO(install_fail_journal, "the install journal cannot be made: the copy page names it in the copy failure message, nothing is installed and no file is asked for") {
  PrepareMachine();
  // The first change of the install is the journal's creation: refused.
  SetChildEnvironment("CORVANE_FAULT", "deny:1");
  SetupProcess setup(FromExplorer());
  SetChildEnvironment("CORVANE_FAULT", nullptr);
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  wizard.ExpectCopyFailure(machine::Join(machine::WindowsFolder(), kJournalFileName));
  if (!InstallCalls().empty()) Fail("InitInstall was called without a journal");
  ExpectStoppedBeforeRegistration();
  if (machine::Exists(machine::Join(machine::WindowsFolder(), kJournalFileName))) Fail("a journal was left");
}

SCENARIO(install_fail_damaged_store, "the real _SETUP.DLL with a damaged payload store member: the real InitInstall fails for it, the install folder is removed") {
  PrepareMachine();
  UseRealLibrary();
  UseRealDeltree();
  CopyInto(machine::Join(kRealMedium, "_SETUP.PAK"), InMedium("_SETUP.PAK"));
  CopyInto(machine::Join(kRealMedium, "SETUP.INI"), InMedium("SETUP.INI"));
  std::string second = ManifestValue(InMedium("SETUP.INI"), "SetupFiles", 2);
  if (second == "Error" || second[0] == '%') Abort("the real medium's second entry is %s, not a plain file", Show(second).c_str());
  if (!DamageMember(InMedium("_SETUP.PAK"), second)) Abort("cannot damage %s in the payload store", Show(second).c_str());
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  wizard.ExpectCopyFailure(second);
  ExpectStoppedBeforeRegistration();
  if (!WaitGone(texts::kDefaultFolder, 15000)) {
    Fail("the install folder %s is still there; it holds %s", texts::kDefaultFolder,
         ShowAll(machine::Names(texts::kDefaultFolder, "*.*", true)).c_str());
  }
}

SCENARIO(install_fail_existing_folder, "the install folder holds the user's files before setup: a failure at entry 2 removes only this run's file and subfolders") {
  PrepareMachine();
  UseRealDeltree();
  const std::string folder = texts::kDefaultFolder;
  const std::string notes = folder + "\\notes.txt", kept = folder + "\\Update\\user.dat";
  machine::MakeFolders(folder + "\\Update");
  machine::WriteFile(notes, "the user's own notes");
  machine::WriteFile(kept, "kept in a subfolder that was there before");
  SetChildEnvironment("CORVANE_SETUPDLL_FAIL_AT", "2");
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  wizard.WalkTo(Page::Copy);
  wizard.ExpectCopyFailure("Schedule.EXE");
  ExpectNumber(static_cast<long long>(InstallCalls().size()), 2, "InitInstall calls up to the failure");
  ExpectStoppedBeforeRegistration();
  for (const char* made : {"\\VProtect", "\\Vlist", "\\CV32W.EXE"}) {
    if (!WaitGone(folder + made, 15000)) Fail("%s, made by this run, is still there", Show(folder + made).c_str());
  }
  // Give any further removal time to go wrong.
  Sleep(1500);
  ExpectText(machine::ReadFile(notes).value_or("(gone)"), "the user's own notes", "the user's notes.txt");
  ExpectText(machine::ReadFile(kept).value_or("(gone)"), "kept in a subfolder that was there before", "Update\\user.dat");
  if (!machine::IsFolder(folder)) Fail("the install folder, there before setup, was removed");
  std::vector<std::string> left = machine::Names(folder, "*.*", true);
  if (left != std::vector<std::string>{"notes.txt", "Update\\"}) {
    Fail("the install folder holds %s; expected notes.txt and Update only", ShowAll(left).c_str());
  }
}

SCENARIO(install_killed_then_rerun, "setup ended by force in the middle of the copy, then started again: the unfinished copy is undone before the first screen, and a full install then succeeds") {
  PrepareMachine();
  Untouched untouched;
  untouched.Plant(machine::SystemFolder() + "\\CVSYS.DLL", "MZ an older CVSYS.DLL");
  SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", "300");
  const std::string folder = texts::kDefaultFolder;
  const std::string journal = machine::Join(machine::WindowsFolder(), kJournalFileName);
  {
    SetupProcess setup(FromExplorer());
    Wizard wizard(setup);
    wizard.ExpectStart();
    wizard.WalkTo(Page::Copy);
    // The fifth file, CVSYS.DLL, replaces the planted one.
    if (!ui::WaitUntil([] { return InstallCalls().size() >= 4; }, 30000)) Abort("the copy does not reach CVSYS.DLL");
    TerminateProcess(setup.Handle(), 1);
    WaitForSingleObject(setup.Handle(), 10000);
  }
  if (!machine::Exists(journal)) Fail("no journal %s after the copy was cut short", Show(journal).c_str());
  if (!machine::Exists(folder + "\\CV32W.EXE")) Abort("the cut copy left nothing to undo");

  SetChildEnvironment("CORVANE_SETUPDLL_DELAY_MS", nullptr);
  PrepareBench();
  SetupProcess setup(FromExplorer());
  Wizard wizard(setup);
  wizard.ExpectStart();
  untouched.Expect("the next start");
  if (machine::Exists(folder)) Fail("the install folder %s, made by the cut copy, is still there", Show(folder).c_str());
  ExpectNotRegistered();
  wizard.WalkTo(Page::Tasks);
  FinishFromTasks(wizard);
  ExpectInstalled(folder, 0x1F);
  if (!machine::Exists(journal)) Fail("a finished install keeps no journal for its removal");
}

SCENARIO(disc_wizard, "the disc image in a CD-ROM drive, setup started as AUTORUN.INF starts it: AUTORUN.INF read back as Windows 95 reads it (open= the disc's SETUP.EXE in its root, icon= an icon of it), the real-medium walk, nothing written to the disc, no installed file read-only, the uninstaller removes everything") {
  RequireDisc();
  const Launch autorun = FromAutorun();
  const std::string& open = autorun.commandLine;
  char icon[MAX_PATH] = "";
  GetPrivateProfileStringA("autorun", "icon", "", icon, sizeof icon, machine::Join(kDisc, "AUTORUN.INF").c_str());
  Note("AUTORUN.INF: open=%s icon=%s", Show(open).c_str(), Show(icon).c_str());
  // The shell looks for open= in the disc's root.
  const std::optional<std::string> onDisc = machine::ReadFile(autorun.application);
  if (!onDisc || onDisc != machine::ReadFile(machine::Join(kRealMedium, "SETUP.EXE"))) {
    Fail("open=%s is not the medium's SETUP.EXE in the disc's root", Show(open).c_str());
  }
  // icon=FILE[,INDEX]: the same program, and an icon it has.
  const std::string iconText = icon;
  const size_t comma = iconText.find(',');
  const int index = comma == std::string::npos ? 0 : std::atoi(icon + comma + 1);
  if (!text::SameText(iconText.substr(0, comma), open)) Fail("icon=%s names another file than open=%s", Show(icon).c_str(), Show(open).c_str());
  const int icons = IconCount(autorun.application);
  if (index < 0 || index >= icons) Fail("icon=%s: %s has %d icons", Show(icon).c_str(), Show(open).c_str(), icons);

  const DiscState before = ReadDiscState();
  Note("the disc holds %zu files and folders", before.size());
  WalkRealMedium(kDisc, autorun);
  ExpectTrue(ReadDiscState() == before, "the disc as it was after the install");

  const std::string uninstall =
      machine::RegistryString(HKEY_LOCAL_MACHINE, texts::kUninstallKey, "UninstallString").value_or("");
  Launch silent;
  silent.commandLine = uninstall + " /S";
  silent.folder = machine::WindowsFolder();
  ExpectNumber(machine::RunToEnd(silent, 60000), 0, "exit code of the uninstall entry's command with /S");
  ExpectNotRegistered();
  // The uninstaller's copy in TEMP removes the install folder last.
  if (!ui::WaitUntil([] { return !machine::Exists(texts::kDefaultFolder); }, 15000, 50)) {
    Fail("%s is still there after the uninstaller", Show(texts::kDefaultFolder).c_str());
  }
  ExpectTrue(ReadDiscState() == before, "the disc as it was after the uninstall");
}
