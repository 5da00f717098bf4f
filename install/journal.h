// The install journal's records as text, and what undoing or finishing a
// run means, without Win32.  The layout is in journal_format.h.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "install/journal_format.h"

struct JournalRecord {
  JournalRecord() = default;
  JournalRecord(JournalKind k, std::string t, std::string n = "", bool h = false, std::string o = "")
      : kind(k), target(std::move(t)), name(std::move(n)), had(h), old(std::move(o)) {}

  JournalKind kind = JournalKind::File;
  // D F R C S: the path.  P: the win.ini section.  K V: the registry key.
  std::string target;
  // R C: the aside.  P: the win.ini key.  V: the value name.
  std::string name;
  bool had = false;  // P K V S: something was there before
  std::string old;   // P V S: what was there
};

struct Journal {
  uint64_t started = 0;  // FILETIME, UTC
  std::string installFolder;
  std::vector<JournalRecord> records;
  bool committed = false;
};

std::string JournalHeader(uint64_t started, const std::string& installFolder);
// One line, with its CR LF.
std::string JournalLine(const JournalRecord& record);
std::string JournalCommitLine();
// Reads a journal file's text.  False when it is not a journal (no header);
// a cut last line and lines of unknown kinds are passed over.
bool ParseJournal(const std::string& text, Journal* journal);

// The records to undo, latest first, with only the last record of each path
// (file records) kept.  Undoing them in this order puts back what the run
// changed: files before the folders that hold them, values before keys.
std::vector<JournalRecord> UndoOrder(const Journal& journal);
// The folders that the run made and that no other folder it made holds: what
// the removal command is started for.
std::vector<std::string> TopMadeFolders(const Journal& journal);
// The folders that hold a file that the run made or replaced, once each:
// where the support library may have left a temporary file.
std::vector<std::string> FoldersOfFiles(const Journal& journal);
// The old copies kept aside, which a finished install discards.
std::vector<std::string> Asides(const Journal& journal);

// "deltree /y" with the path quoted, so that blanks keep it one argument.
std::string DeltreeCommand(const std::string& path);
// A DOS command line holds at most 127 characters on Windows 95/98: a longer
// one is cut, and a cut path could name another folder.
bool FitsDosCommandLine(const std::string& command);
