// The install job's changes, each recorded in the install journal and
// flushed before it is made, so that a run that does not finish can be
// undone: in this run on a failure or a quit, or at the next start of setup
// after a crash.
#pragma once
#include <windows.h>

#include "common/text.h"

#include "install/journal.h"

class JournalWriter {
 public:
  JournalWriter() = default;
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Starts the journal of a run into installFolder, in place of a finished
  // one.  False when the journal cannot be written, or when a journal is
  // there that is not finished (a rollback that could not finish): the run
  // must then change nothing.  A writer that is never begun keeps its
  // records in memory only.
  bool Begin(const Text& installFolder);
  // A record could not be written: from then on the writer makes no change
  // (each call below does nothing), and the run must be rolled back.
  bool Broken() const { return state_ == State::Broken; }

  // Makes one folder level; a folder that is already there stays unrecorded.
  void MakeFolder(const Text& folder);
  // Readies `path` for a file that is about to be made there: an old file is
  // renamed aside (or, while in use, copied aside); none is recorded as new.
  void PrepareFile(const Text& path);
  // PrepareFile for several paths (all different), whose records reach the
  // disk together, with one flush, before any old file is moved aside: a
  // flush can take milliseconds, as long as making a file.
  void PrepareFiles(const List<Text>& paths);
  // After an operation that was to make `path` and made nothing there: the
  // old file that PrepareFile renamed aside comes back at once, since a
  // finished run discards what is aside.
  void RestoreIfNotMade(const Text& path);
  // After `path` was made: outside the install folder, its size and last
  // write are recorded, so that nothing removes it once another program
  // has put its own file there.
  void Made(const Text& path);
  // After a file was put into the system folder: one more user in its
  // SharedDLLs count.  A file that was there before setup and has no count
  // starts at two: its earlier owner is counted too, so that removing this
  // product never takes it.
  void CountShared(const Text& path);
  // WriteProfileStringA with the old value recorded.
  void WriteProfile(const char* section, const char* key, const char* value);
  // Makes or opens a key under HKEY_LOCAL_MACHINE for KEY_ALL_ACCESS; NULL
  // when it cannot.  The caller closes it.
  HKEY CreateMachineKey(const char* key);
  // Writes a REG_SZ value (terminator included) into a key that
  // CreateMachineKey opened, with the old value recorded.
  void SetString(HKEY opened, const char* key, const char* name, const Text& data);

  // Whether a file in use waits for the next start of Windows.
  bool RestartNeeded() const;

  // The run finished: the journal says so and the old copies go.  False
  // when the journal could not say so: the run must then be rolled back.
  bool Commit();
  // The run stops unfinished: everything recorded is undone and the journal
  // goes; what could not be undone stays in it for the next start.  With
  // `startRemovalCommand`, the folders the run made are also handed to the
  // DOS removal command, as setup always did after a failed copy.
  void RollBack(bool startRemovalCommand);

 private:
  enum class State { InMemory, Open, Broken };

  // Writes the record ahead of its change; false (and broken) when it
  // cannot: the change must not be made.
  bool Add(const JournalRecord& record);
  bool WriteLine(const Text& line);
  void Close();

  State state_ = State::InMemory;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  Journal journal_;
};
