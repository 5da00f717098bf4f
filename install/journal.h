// The install journal's records as text, and what undoing or finishing a
// run means, without Win32.  The layout is in journal_format.h.
#pragma once
#include <stdint.h>
#include "common/text.h"
#include <utility>
#include "common/list.h"

#include "install/journal_format.h"

struct JournalRecord {
  JournalRecord() = default;
  JournalRecord(JournalKind k, Text t, Text n = "", bool h = false, Text o = "")
      : kind(k), target(std::move(t)), name(std::move(n)), had(h), old(std::move(o)) {}

  JournalKind kind = JournalKind::File;
  // D F R C S T: the path.  P: the win.ini section.  K V: the registry key.
  Text target;
  // R C: the aside.  P: the win.ini key.  V: the value name.  T: the size.
  Text name;
  bool had = false;  // P K V S: something was there before
  Text old;   // P V S: what was there.  T: the last write, 16 hex digits.
};

struct Journal {
  uint64_t started = 0;  // FILETIME, UTC
  Text installFolder;
  List<JournalRecord> records;
  bool committed = false;
};

Text JournalHeader(uint64_t started, const Text& installFolder);
// One line, with its CR LF.
Text JournalLine(const JournalRecord& record);
Text JournalCommitLine();
// Reads a journal file's text.  False when it is not a journal (no header);
// a cut last line and lines of unknown kinds are passed over.
bool ParseJournal(const Text& text, Journal* journal);

// The records of what a finished install left, latest first, with only the
// last record of each path (file records) kept: what the uninstaller
// removes, values before keys, files before the folders that hold them.
List<JournalRecord> UndoOrder(const Journal& journal);
// Every record that changed something, latest first: what a rollback undoes,
// in the order that puts back what the run changed (a path made ready twice
// gets its first old file back last; a rename aside followed by a copy of
// the same file is not, as only the copy happened).
List<JournalRecord> RollbackOrder(const Journal& journal);
// RollbackOrder as indexes into journal.records.
List<size_t> RollbackIndexes(const Journal& journal);
// The journal up to where the path of record `at` is made ready again: the
// rollback undoes the later makings first, and then judges the file left
// under the path by what the run recorded of the making that `at` began.
Journal UpToReadiedAgain(const Journal& journal, size_t at);
// The last T record of `path`, or null.
const JournalRecord* StampOf(const Journal& journal, const Text& path);
// A T record of a file's size and last write.
JournalRecord StampRecord(const Text& path, uint64_t size, uint64_t written);
// A T record's size and last write; false when it does not hold them.
bool ReadStamp(const JournalRecord& stamp, uint64_t* size, uint64_t* written);
// The folders that the run made and that no other folder it made holds: what
// the removal command is started for.
List<Text> TopMadeFolders(const Journal& journal);
// The folders that hold a file that the run made or replaced, once each:
// where the support library may have left a temporary file.
List<Text> FoldersOfFiles(const Journal& journal);
// The old copies kept aside, which a finished install discards.
List<Text> Asides(const Journal& journal);

// "deltree /y" with the path quoted, so that blanks keep it one argument.
Text DeltreeCommand(const Text& path);
// A DOS command line holds at most 127 characters on Windows 95/98: a longer
// one is cut, and a cut path could name another folder.
bool FitsDosCommandLine(const Text& command);
