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
  // one.  Without a writable journal file the run still goes on, with its
  // records kept in memory for a rollback in this run.
  void Begin(const Text& installFolder);

  // Makes one folder level; a folder that is already there stays unrecorded.
  void MakeFolder(const Text& folder);
  // Readies `path` for a file that is about to be made there: an old file is
  // renamed aside (or, while in use, copied aside); none is recorded as new.
  void PrepareFile(const Text& path);
  // After an operation that was to make `path` and made nothing there: the
  // old file that PrepareFile renamed aside comes back at once, since a
  // finished run discards what is aside.
  void RestoreIfNotMade(const Text& path);
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

  // The run finished: the journal says so and the old copies go.
  void Commit();
  // The run stops unfinished: everything recorded is undone and the journal
  // goes.  With `startRemovalCommand`, the folders the run made are also
  // handed to the DOS removal command, as setup always did after a failed
  // copy.
  void RollBack(bool startRemovalCommand);

 private:
  void Add(const JournalRecord& record);
  void Close();

  HANDLE file_ = INVALID_HANDLE_VALUE;
  Journal journal_;
};
