// Any bytes as a journal, its first line as the install folder: whatever
// the reader makes of them, the trust rule lets no record lead anywhere but
// to setup's own places, and the orders built from the records stay whole.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include "common/path_text.h"
#include "install/journal_trust.h"

namespace {

const char kWindows[] = "C:\\WINDOWS";
const char kSystem[] = "C:\\WINDOWS\\SYSTEM";
const char kStartMenu[] = "C:\\WINDOWS\\Start Menu";

bool IsLink(const Text& path) {
  return path.size() > 4 && SamePath(path.substr(path.size() - 4), ".LNK") && IsInsideFolder(path, kStartMenu);
}

void Require(bool holds) {
  if (!holds) abort();
}

bool HasDotsComponent(const Text& path) {
  for (size_t at = 0; at < path.size();) {
    size_t end = path.find('\\', at);
    if (end == Text::npos) end = path.size();
    if (end > at && path.substr(at, end - at).find_first_not_of('.') == Text::npos) return true;
    at = end + 1;
  }
  return false;
}

// Where a followed path may be, said plainly: the canonical text is judged
// again without the rule's own helpers for places.
void CheckPlace(const JournalRecord& r, const Text& folder) {
  const Text& path = r.target;
  Require(path == CanonicalPathText(path) && IsAbsolutePath(path));
  Require(path.find(':', 2) == Text::npos && path.find_first_of("*?") == Text::npos);
  Require(!HasDotsComponent(path));
  bool inside = SamePath(path, folder) || IsInsideFolder(path, folder);
  bool above = IsInsideFolder(folder, path) && path.size() > CanonicalRootLength(path);
  bool system = SamePath(FolderOf(path), kWindows) || SamePath(FolderOf(path), kSystem);
  bool group = IsInsideFolder(path, kStartMenu);
  switch (r.kind) {
    case JournalKind::Folder:
      Require(inside || above || group);
      break;
    case JournalKind::Shared:
      Require(SamePath(FolderOf(path), kSystem));
      break;
    case JournalKind::Replaced:
    case JournalKind::InUse:
      Require(SamePath(FolderOf(r.name), FolderOf(path)) && r.name.size() > 11);
      [[fallthrough]];
    default:
      Require(inside || system || IsLink(path));
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text text(reinterpret_cast<const char*>(data), size);
  size_t end = text.find('\n');
  if (end == Text::npos) return 0;
  JournalPlaces places;
  places.installFolders.push_back(text.substr(0, end));
  places.windowsFolder = kWindows;
  places.systemFolder = kSystem;
  places.programsFolder = "C:\\WINDOWS\\Start Menu\\Programs";
  Journal journal;
  if (!ParseJournal(text.substr(end + 1), &journal)) return 0;
  List<JournalRecord> skipped;
  Journal trusted = TrustedJournal(journal, places, &skipped);
  Require(trusted.records.size() + skipped.size() == journal.records.size());
  Text folder = CanonicalPathText(places.installFolders[0]);
  for (const JournalRecord& r : trusted.records) {
    if (r.kind == JournalKind::Profile || r.kind == JournalKind::Key || r.kind == JournalKind::Value) continue;
    CheckPlace(r, folder);
  }
  Require(RollbackOrder(trusted).size() <= trusted.records.size());
  (void)UndoOrder(trusted);
  (void)TopMadeFolders(trusted);
  (void)FoldersOfFiles(trusted);
  return 0;
}
