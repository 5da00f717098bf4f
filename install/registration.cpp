// Registers the installed product with the shell: the program group and its
// shortcuts, two fixed shortcuts, win.ini records and the uninstall entry.
#include "install/registration.h"

#include <windows.h>
#include <objbase.h>

#include "common/disk_ops.h"
#include "common/path_text.h"
#include "common/shell_calls.h"
#include "common/shell_folders.h"
#include "common/text.h"

#include "install/journal_writer.h"
#include "install/install_records.h"
#include "install/manifest.h"
#include "install/manifest_entry.h"
#include "install/shortcut.h"

namespace {

// Setup reads the Programs folder into 128 bytes: a longer folder gets no
// group, no shortcuts and no fixed links.
constexpr size_t kProgramsReadSize = 128;

// Links made side by side, each on a thread of its own: under Wine, saving a
// link in the Start menu starts the host's menu builder and waits for its
// end, a process start of ten to twenty milliseconds. The journal's records
// and every call of the disk seam stay on this thread, in the links' order;
// a link whose path comes again waits for those begun before it.
class Shortcuts {
 public:
  explicit Shortcuts(JournalWriter* journal) : journal_(journal) {}
  ~Shortcuts() { Finish(); }
  Shortcuts(const Shortcuts&) = delete;
  Shortcuts& operator=(const Shortcuts&) = delete;

  void Make(const Text& target, const Text& link) {
    for (const Pending* p : pending_) {
      if (SamePath(CanonicalPathText(p->link), CanonicalPathText(link))) {
        Finish();
        break;
      }
    }
    journal_->PrepareFile(link);
    if (journal_->Broken()) return;
    Pending* p = new Pending{target, link, NULL};
    if (ops::Other("shortcut", link.c_str())) {
      p->thread = CreateThread(NULL, 0, MakeOnThread, p, 0, NULL);
      if (p->thread == NULL) (void)MakeOnThread(p);
    }
    pending_.push_back(p);
  }

  // Waits for every link begun; then what each made is recorded, in order.
  void Finish() {
    for (Pending* p : pending_) {
      if (p->thread != NULL) {
        (void)WaitForSingleObject(p->thread, INFINITE);
        (void)CloseHandle(p->thread);
      }
      journal_->RestoreIfNotMade(p->link);
      journal_->Made(p->link);
      delete p;
    }
    pending_.clear();
  }

 private:
  struct Pending {
    Text target;
    Text link;
    HANDLE thread;
  };

  // Neither COM's nor the shortcut's result changes what setup does next.
  __attribute__((force_align_arg_pointer)) static DWORD WINAPI MakeOnThread(LPVOID parameter) {
    const Pending* p = static_cast<const Pending*>(parameter);
    (void)late::CoInitialize(NULL);
    (void)CreateShortcut(p->target.c_str(), p->link.c_str(), NULL, NULL, NULL, NULL, 0);
    late::CoUninitialize();
    return 0;
  }

  JournalWriter* journal_;
  List<Pending*> pending_;
};

// One shortcut per SetupLink entry that names a link file; "NO" makes none.
// The walk ends at the first absent SetupLink key, or at a link whose
// SetupFiles key is absent.
void MakeManifestShortcuts(const Text& installFolder, Shortcuts* shortcuts, const Text& group) {
  const ManifestSection links("SetupLink"), files("SetupFiles");
  for (int n = 1;; ++n) {
    Text link = links.Value(n);
    if (link == kAbsentValue) return;
    if (link == "NO") continue;
    Text file = files.Value(n);
    if (file == kAbsentValue) return;
    shortcuts->Make(installFolder + "\\" + file, group + "\\" + link);
  }
}

void SetUninstallValue(JournalWriter* journal, const char* name, const Text& data) {
  HKEY key = journal->CreateMachineKey(kUninstallKey);
  if (!key) return;
  journal->SetString(key, kUninstallKey, name, data);
  RegCloseKey(key);
}

}  // namespace

void RegisterWithShell(const Text& installFolder, JournalWriter* journal) {
  Text programs;
  if (!ReadShellProgramsFolder(kProgramsReadSize, &programs)) return;
  Text group = programs;
  if (group.empty() || group.back() != '\\') group += "\\";
  group += kProgramGroupName;
  journal->MakeFolder(group);

  {
    Shortcuts shortcuts(journal);
    MakeManifestShortcuts(installFolder, &shortcuts, group);
    shortcuts.Make(installFolder + "\\" + kMainProgram, group + kMainLinkFromGroup);
    shortcuts.Make(installFolder + "\\" + kScheduleProgram, group + kScheduleLinkFromGroup);
  }

  journal->WriteProfile(kRecordSection, kInstallRecord, installFolder.c_str());
  journal->WriteProfile(kRecordSection, kGroupRecord, group.c_str());

  SetUninstallValue(journal, "DisplayName", kUninstallDisplayName);
  SetUninstallValue(journal, "UninstallString", "\"" + installFolder + "\\" + kUninstaller + "\"");
}
