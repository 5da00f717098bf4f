// What the uninstaller removes, decided from setup's records.
#include "product/logic/uninstall_plan.h"

#include "engine/engine_api.h"
#include "install/install_records.h"
#include "common/process_match.h"
#include "install/task_file.h"
#include "setupdll/library_temp.h"
#include "product/logic/product_paths.h"

namespace {

// Everything setup or the product itself puts directly into the install
// folder.  Setup.run stays there until _ISDEL.EXE has read it.
const char* const kProductFiles[] = {kMainProgram, kScheduleProgram, kUninstaller, CORVANE_ENGINE_LIBRARY,
                                     kTaskFileName};

// _SETUP.DLL's replacement of a file that was in use: a CVSxxxx.TMP (four
// hex digits) waiting in the install folder for the next start of Windows.
bool IsPendingReplacement(const Text& upperName) {
  const Text pattern = CORVANE_INITINSTALL_TEMP_PATTERN;
  if (upperName.size() != pattern.size()) return false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    bool digit = (upperName[i] >= '0' && upperName[i] <= '9') || (upperName[i] >= 'A' && upperName[i] <= 'F');
    if (pattern[i] == '?' ? !digit : upperName[i] != pattern[i]) return false;
  }
  return true;
}

bool EndsWith(const Text& text, const Text& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

Text ChooseInstallFolder(const Text& recorded, const Text& ownFolder,
                                bool ownFolderHoldsMainProgram) {
  if (!recorded.empty()) return recorded;
  if (ownFolder.empty()) return "";
  if (ownFolderHoldsMainProgram || UpperAscii(NameOf(ownFolder)) == "CORVANE") return ownFolder;
  return "";
}

Text ChooseGroupFolder(const Text& recordedGroup, const Text& programsFolder) {
  if (!recordedGroup.empty()) return recordedGroup;
  if (programsFolder.empty()) return "";
  Text group = programsFolder;
  if (group.back() != '\\') group += '\\';
  return group + kProgramGroupName;
}

FixedLinks FixedLinksOf(const Text& groupFolder) {
  FixedLinks links;
  if (groupFolder.empty()) return links;
  links.mainProgram = CollapseDots(groupFolder + kMainLinkFromGroup);
  links.scheduledScan = CollapseDots(groupFolder + kScheduleLinkFromGroup);
  return links;
}

bool IsProductEntry(const FolderEntry& entry) {
  Text name = UpperAscii(entry.name);
  if (entry.isFolder) {
    for (const char* folder : kInstallSubfolders)
      if (name == UpperAscii(folder)) return true;
    return false;
  }
  for (const char* file : kProductFiles)
    if (name == UpperAscii(file)) return true;
  return IsPendingReplacement(name);
}

void SplitEntries(const List<FolderEntry>& entries, List<FolderEntry>* product,
                  List<FolderEntry>* others) {
  for (const FolderEntry& entry : entries) {
    if (entry.name == "." || entry.name == "..") continue;
    (IsProductEntry(entry) ? product : others)->push_back(entry);
  }
}

bool IsShortcutName(const Text& name) {
  Text upper = UpperAscii(name);
  return EndsWith(upper, ".LNK") || EndsWith(upper, ".PIF");
}
