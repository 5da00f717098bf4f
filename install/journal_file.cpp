// The install journal's file.
#include "install/journal_file.h"

#include <windows.h>

#include "common/disk_ops.h"

namespace {

constexpr DWORD kJournalReadLimit = 16 * 1024 * 1024;

bool Exists(const Text& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Text RewritePath() { return JournalPath() + kJournalRewriteSuffix; }

JournalFile ReadFrom(const Text& path, Journal* journal) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return Exists(path) ? JournalFile::Unreadable : JournalFile::Absent;
  Text text;
  DWORD size = GetFileSize(file, NULL);
  bool read = false;
  if (size != INVALID_FILE_SIZE && size <= kJournalReadLimit) {
    text.resize(size);
    DWORD got = 0;
    read = size == 0 || (ReadFile(file, &text[0], size, &got, NULL) && got == size);
  }
  CloseHandle(file);
  if (!read) return JournalFile::Unreadable;
  return ParseJournal(text, journal) ? JournalFile::Read : JournalFile::NotAJournal;
}

}  // namespace

Text JournalPath() {
  char windows[MAX_PATH] = "";
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  if (n == 0 || n >= sizeof windows) return kJournalFileName;
  return Text(windows) + "\\" + kJournalFileName;
}

JournalFile ReadJournalFile(Journal* journal) {
  *journal = Journal();
  const Text path = JournalPath(), rewrite = RewritePath();
  if (Exists(path)) {
    // A rewrite that never took the old journal's place did not happen.
    if (Exists(rewrite)) (void)ops::Delete(rewrite.c_str());
    return ReadFrom(path, journal);
  }
  // The old journal went and the new one, complete by then, did not yet
  // take its name.
  JournalFile found = ReadFrom(rewrite, journal);
  if (found == JournalFile::Read) (void)ops::Move(rewrite.c_str(), path.c_str());
  return found;
}

bool ReadJournal(Journal* journal) { return ReadJournalFile(journal) == JournalFile::Read; }

bool WriteJournal(const Journal& journal) {
  Text text = JournalHeader(journal.started, journal.installFolder);
  for (const JournalRecord& record : journal.records) text += JournalLine(record);
  if (journal.committed) text += JournalCommitLine();
  const Text path = JournalPath(), rewrite = RewritePath();
  HANDLE file = ops::OpenForWriting(rewrite.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = ops::Write(file, text.data(), static_cast<DWORD>(text.size())) && ops::Flush(file);
  ok = CloseHandle(file) && ok;
  // Windows 95 has no rename that replaces: the old journal goes just
  // before the new one takes its name, and a reader in between takes the
  // new one.
  if (ok) ok = (!Exists(path) || ops::Delete(path.c_str())) && ops::Move(rewrite.c_str(), path.c_str());
  if (!ok && Exists(path)) (void)ops::Delete(rewrite.c_str());
  return ok;
}

bool WriteFinishedJournal(const Journal& journal) {
  Journal finished = journal;
  finished.committed = true;
  return WriteJournal(finished);
}

bool DeleteJournal() {
  const Text path = JournalPath(), rewrite = RewritePath();
  if (Exists(rewrite)) (void)ops::Delete(rewrite.c_str());
  return !Exists(path) || ops::Delete(path.c_str());
}
