// Which records of an install journal may be acted on.
#include "install/journal_trust.h"

#include "common/bounded_text.h"
#include "common/path_text.h"
#include "install/install_records.h"

namespace {

// The canonical text of a recorded path, or "" when Windows could read the
// recorded text as some other place than its canonical text says.
Text PlainPath(const Text& path) {
  for (char c : path) {
    unsigned char b = static_cast<unsigned char>(c);
    // Code page 949's trail bytes never take these values.
    if (b < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') return "";
  }
  Text canonical = CanonicalPathText(path);
  if (!IsAbsolutePath(canonical)) return "";
  // A colon past the drive names a stream of a file, not a file.
  if (canonical.find(':', 2) != Text::npos) return "";
  // "..." is two levels up on Windows 95 and "." on the NT family.
  size_t at = CanonicalRootLength(canonical);
  while (at < canonical.size()) {
    if (canonical[at] == '\\') ++at;
    size_t end = canonical.find('\\', at);
    if (end == Text::npos) end = canonical.size();
    if (canonical.substr(at, end - at).find_first_not_of('.') == Text::npos) return "";
    at = end;
  }
  return canonical;
}

bool DirectlyIn(const Text& canonical, const Text& folder) {
  return !folder.empty() && IsDirectlyIn(canonical, CanonicalPathText(folder));
}

bool EndsWithAnyCase(const Text& text, const char* ending) {
  Text tail(ending);
  return text.size() > tail.size() && SamePath(text.substr(text.size() - tail.size()), tail);
}

bool InOrAt(const Text& canonical, const Text& folder) {
  return !folder.empty() && (SamePath(canonical, folder) || IsInsideFolder(canonical, folder));
}

bool InInstallFolder(const Text& canonical, const JournalPlaces& places) {
  for (const Text& folder : places.installFolders)
    if (InOrAt(canonical, CanonicalPathText(folder))) return true;
  return false;
}

// A folder above the install folder, short of the drive or share root.
bool AboveInstallFolder(const Text& canonical, const JournalPlaces& places) {
  if (canonical.size() <= CanonicalRootLength(canonical)) return false;
  for (const Text& folder : places.installFolders)
    if (IsInsideFolder(CanonicalPathText(folder), canonical)) return true;
  return false;
}

Text Group(const JournalPlaces& places) {
  return places.programsFolder.empty() ? Text()
                                       : CanonicalPathText(places.programsFolder + "\\" + kProgramGroupName);
}

bool IsSetupsLink(const Text& canonical, const JournalPlaces& places) {
  Text group = Group(places);
  if (group.empty()) return false;
  return SamePath(canonical, CanonicalPathText(group + kMainLinkFromGroup)) ||
         SamePath(canonical, CanonicalPathText(group + kScheduleLinkFromGroup)) ||
         (DirectlyIn(canonical, group) && EndsWithAnyCase(canonical, ".LNK"));
}

bool IsFilePlace(const Text& canonical, const JournalPlaces& places) {
  return InInstallFolder(canonical, places) || DirectlyIn(canonical, places.windowsFolder) ||
         DirectlyIn(canonical, places.systemFolder) || IsSetupsLink(canonical, places);
}

// An aside that the journal writer names: CVBxxxx.TMP beside its file.
bool IsAsideOf(const Text& aside, const Text& target) {
  Text canonical = PlainPath(aside);
  if (canonical.empty() || !SamePath(FolderOf(canonical), FolderOf(target))) return false;
  Text name = NameOf(canonical);
  const size_t prefix = sizeof kAsidePrefix - 1;
  if (name.size() != prefix + 8 || !SamePath(name.substr(0, prefix), kAsidePrefix)) return false;
  for (size_t i = prefix; i < prefix + 4; ++i)
    if (HexDigitValue(name[i]) < 0) return false;
  return SamePath(name.substr(prefix + 4), ".TMP");
}

bool IsLastFileRecorded(const Journal& journal, const Text& path) {
  for (size_t i = journal.records.size(); i-- > 0;) {
    const JournalRecord& r = journal.records[i];
    if (r.kind == JournalKind::File || r.kind == JournalKind::Replaced || r.kind == JournalKind::InUse)
      return SamePath(r.target, path);
  }
  return false;
}

}  // namespace

bool MayFollow(const JournalRecord& r, const JournalPlaces& places) {
  if (places.installFolders.empty() || r.target.empty()) return false;
  switch (r.kind) {
    case JournalKind::Profile:
      return SamePath(r.target, kRecordSection) && !r.name.empty();
    case JournalKind::Key:
    case JournalKind::Value:
      return SamePath(r.target, kUninstallKey);
    default:
      break;
  }
  Text path = PlainPath(r.target);
  if (path.empty()) return false;
  switch (r.kind) {
    case JournalKind::Folder:
      return InInstallFolder(path, places) || AboveInstallFolder(path, places) || SamePath(path, Group(places));
    case JournalKind::File:
    case JournalKind::Stamp:
      return IsFilePlace(path, places);
    case JournalKind::Replaced:
    case JournalKind::InUse:
      return IsFilePlace(path, places) && IsAsideOf(r.name, path);
    case JournalKind::Shared:
    case JournalKind::Lowered:
      return DirectlyIn(path, places.systemFolder);
    default:
      return false;
  }
}

bool InsideInstallFolder(const Text& path, const JournalPlaces& places) {
  Text canonical = PlainPath(path);
  return !canonical.empty() && InInstallFolder(canonical, places);
}

bool StillTheRunsFile(const Journal& journal, const Text& path, const FileFacts& facts) {
  const JournalRecord* stamp = StampOf(journal, path);
  uint64_t size = 0, written = 0;
  if (stamp && ReadStamp(*stamp, &size, &written)) return size == facts.size && written == facts.written;
  // The file the run was making when it stopped: its size record was still
  // to come, and the time it has may be the product file's own.
  if (IsLastFileRecorded(journal, path)) return true;
  // FAT keeps a file's times to two seconds.
  constexpr uint64_t kClockSlack = 2 * 10000000ull;
  return facts.created + kClockSlack >= journal.started;
}

Journal TrustedJournal(const Journal& journal, const JournalPlaces& places, List<JournalRecord>* skipped) {
  Journal trusted = journal;
  trusted.records.clear();
  for (const JournalRecord& r : journal.records) {
    if (!MayFollow(r, places)) {
      if (skipped) skipped->push_back(r);
      continue;
    }
    // Acted on as judged: in the canonical text.
    JournalRecord followed = r;
    if (r.kind != JournalKind::Profile && r.kind != JournalKind::Key && r.kind != JournalKind::Value) {
      followed.target = PlainPath(r.target);
      if (r.kind == JournalKind::Replaced || r.kind == JournalKind::InUse) followed.name = PlainPath(r.name);
    }
    trusted.records.push_back(followed);
  }
  return trusted;
}
