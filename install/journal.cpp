// The install journal's records as text, and the undo order.
#include "install/journal.h"

#include "common/path_text.h"

namespace {

const char kHexDigits[] = "0123456789ABCDEF";
constexpr size_t kDosCommandLineMax = 127;

Text Escaped(const Text& field) {
  Text out;
  for (char c : field) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || c == '%') {
      out += '%';
      out += kHexDigits[b >> 4];
      out += kHexDigits[b & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

Text Unescaped(const Text& field) {
  Text out;
  for (size_t i = 0; i < field.size(); ++i) {
    int high = i + 2 < field.size() && field[i] == '%' ? HexValue(field[i + 1]) : -1;
    int low = high >= 0 ? HexValue(field[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += field[i];
    }
  }
  return out;
}

List<Text> Fields(const Text& line) {
  List<Text> fields;
  size_t at = 0;
  for (;;) {
    size_t tab = line.find('\t', at);
    fields.push_back(Unescaped(line.substr(at, tab == Text::npos ? Text::npos : tab - at)));
    if (tab == Text::npos) return fields;
    at = tab + 1;
  }
}

bool IsFileKind(JournalKind kind) {
  return kind == JournalKind::File || kind == JournalKind::Replaced || kind == JournalKind::InUse;
}

// The record a line holds; false for a line of no known kind or with fields
// missing.
bool RecordOf(const List<Text>& f, JournalRecord* r) {
  if (f[0].size() != 1) return false;
  r->kind = static_cast<JournalKind>(f[0][0]);
  switch (r->kind) {
    case JournalKind::Folder:
    case JournalKind::File:
      if (f.size() < 2) return false;
      r->target = f[1];
      return true;
    case JournalKind::Replaced:
    case JournalKind::InUse:
      if (f.size() < 3) return false;
      r->target = f[1];
      r->name = f[2];
      return true;
    case JournalKind::Lowered:
      if (f.size() < 3) return false;
      r->target = f[1];
      r->old = f[2];
      return true;
    case JournalKind::Stamp:
      if (f.size() < 4) return false;
      r->target = f[1];
      r->name = f[2];
      r->old = f[3];
      return true;
    case JournalKind::Key:
      if (f.size() < 3) return false;
      r->target = f[1];
      r->had = f[2] == "1";
      return true;
    case JournalKind::Shared:
      if (f.size() < 4) return false;
      r->target = f[1];
      r->had = f[2] == "1";
      r->old = f[3];
      return true;
    case JournalKind::Profile:
    case JournalKind::Value:
      if (f.size() < 5) return false;
      r->target = f[1];
      r->name = f[2];
      r->had = f[3] == "1";
      r->old = f[4];
      return true;
  }
  return false;
}

// True the first time a path is seen in any ASCII case; records it.
bool FirstSight(List<Text>* seen, const Text& path) {
  for (const Text& earlier : *seen)
    if (SamePath(earlier, path)) return false;
  seen->push_back(path);
  return true;
}

bool ReadNumber(const Text& digits, int base, uint64_t* value) {
  if (digits.empty() || digits.size() > 16) return false;
  *value = 0;
  for (char c : digits) {
    int digit = HexValue(c);
    if (digit < 0 || digit >= base) return false;
    *value = *value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  return true;
}

Text HexText(uint64_t value) {
  Text text;
  for (int shift = 60; shift >= 0; shift -= 4) text += kHexDigits[(value >> shift) & 0xF];
  return text;
}

}  // namespace

Text JournalHeader(uint64_t started, const Text& installFolder) {
  return Text(kJournalMagic) + "\t" + HexText(started) + "\t" + Escaped(installFolder) + "\r\n";
}

Text JournalLine(const JournalRecord& r) {
  Text line(1, static_cast<char>(r.kind));
  line += "\t" + Escaped(r.target);
  switch (r.kind) {
    case JournalKind::Folder:
    case JournalKind::File:
      break;
    case JournalKind::Replaced:
    case JournalKind::InUse:
      line += "\t" + Escaped(r.name);
      break;
    case JournalKind::Stamp:
      line += "\t" + Escaped(r.name) + "\t" + Escaped(r.old);
      break;
    case JournalKind::Lowered:
      line += "\t" + Escaped(r.old);
      break;
    case JournalKind::Key:
      line += r.had ? "\t1" : "\t0";
      break;
    case JournalKind::Shared:
      line += (r.had ? "\t1\t" : "\t0\t") + Escaped(r.old);
      break;
    case JournalKind::Profile:
    case JournalKind::Value:
      line += "\t" + Escaped(r.name) + (r.had ? "\t1\t" : "\t0\t") + Escaped(r.old);
      break;
  }
  return line + "\r\n";
}

Text JournalCommitLine() { return Text(kJournalCommitted) + "\r\n"; }

bool ParseJournal(const Text& text, Journal* journal) {
  *journal = Journal();
  size_t at = 0;
  bool first = true;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == Text::npos) break;  // cut by a crash: its change was never made
    Text line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    List<Text> f = Fields(line);
    if (first) {
      if (f.size() < 3 || f[0] != kJournalMagic || f[1].size() != 16) return false;
      for (char c : f[1]) {
        if (HexValue(c) < 0) return false;
        journal->started = journal->started << 4 | static_cast<uint64_t>(HexValue(c));
      }
      journal->installFolder = f[2];
      first = false;
      continue;
    }
    if (line == kJournalCommitted) {
      journal->committed = true;
      break;
    }
    JournalRecord record;
    if (RecordOf(f, &record)) journal->records.push_back(record);
  }
  return !first;
}

List<JournalRecord> UndoOrder(const Journal& journal) {
  List<JournalRecord> order;
  List<Text> seen;
  for (size_t i = journal.records.size(); i-- > 0;) {
    const JournalRecord& r = journal.records[i];
    if (IsFileKind(r.kind) && !FirstSight(&seen, r.target)) continue;
    order.push_back(r);
  }
  return order;
}

List<size_t> RollbackIndexes(const Journal& journal) {
  List<size_t> order;
  for (size_t i = journal.records.size(); i-- > 0;) {
    const JournalRecord& r = journal.records[i];
    if (r.kind == JournalKind::Stamp) continue;
    // A rename aside that failed, and was followed by a copy: only the copy
    // happened.
    bool copiedInstead = false;
    for (size_t at : order) {
      const JournalRecord& later = journal.records[at];
      copiedInstead = copiedInstead || (r.kind == JournalKind::Replaced && later.kind == JournalKind::InUse &&
                                        SamePath(later.target, r.target) && SamePath(later.name, r.name));
    }
    if (!copiedInstead) order.push_back(i);
  }
  return order;
}

List<JournalRecord> RollbackOrder(const Journal& journal) {
  List<JournalRecord> order;
  for (size_t at : RollbackIndexes(journal)) order.push_back(journal.records[at]);
  return order;
}

Journal UpToReadiedAgain(const Journal& journal, size_t at) {
  const Text& path = journal.records[at].target;
  size_t end = at + 1;
  while (end < journal.records.size() &&
         !(IsFileKind(journal.records[end].kind) && SamePath(journal.records[end].target, path)))
    ++end;
  Journal view = journal;
  view.records.resize(end);
  return view;
}

const JournalRecord* StampOf(const Journal& journal, const Text& path) {
  for (size_t i = journal.records.size(); i-- > 0;) {
    const JournalRecord& r = journal.records[i];
    if (r.kind == JournalKind::Stamp && SamePath(r.target, path)) return &r;
  }
  return nullptr;
}

JournalRecord StampRecord(const Text& path, uint64_t size, uint64_t written) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + size % 10);
    size /= 10;
  } while (size != 0);
  Text decimal;
  while (n > 0) decimal += digits[--n];
  return {JournalKind::Stamp, path, decimal, false, HexText(written)};
}

bool ReadStamp(const JournalRecord& stamp, uint64_t* size, uint64_t* written) {
  return stamp.kind == JournalKind::Stamp && stamp.old.size() == 16 && ReadNumber(stamp.name, 10, size) &&
         ReadNumber(stamp.old, 16, written);
}

List<Text> TopMadeFolders(const Journal& journal) {
  List<Text> made, top;
  for (const JournalRecord& r : journal.records) {
    if (r.kind == JournalKind::Folder) made.push_back(r.target);
  }
  for (const Text& folder : made) {
    bool held = false;
    for (const Text& other : made) held = held || IsInsideFolder(folder, other);
    if (!held) top.push_back(folder);
  }
  return top;
}

List<Text> FoldersOfFiles(const Journal& journal) {
  List<Text> folders;
  List<Text> seen;
  for (const JournalRecord& r : journal.records) {
    if (!IsFileKind(r.kind)) continue;
    Text folder = FolderOf(r.target);
    if (!folder.empty() && FirstSight(&seen, folder)) folders.push_back(folder);
  }
  return folders;
}

List<Text> Asides(const Journal& journal) {
  List<Text> asides;
  for (const JournalRecord& r : journal.records) {
    if (r.kind == JournalKind::Replaced || r.kind == JournalKind::InUse) asides.push_back(r.name);
  }
  return asides;
}

Text DeltreeCommand(const Text& path) { return "deltree /y \"" + path + "\""; }

bool FitsDosCommandLine(const Text& command) { return command.size() <= kDosCommandLineMax; }
