// Undoing an install run from its journal.
#include "install/rollback.h"

#include <windows.h>

#include "common/bounded_text.h"
#include "install/journal_file.h"
#include "install/restart_replacement.h"
#include "install/shared_count.h"

namespace {

bool IsFile(const Text& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A read-only file is deleted like any other: setup made it, or kept it.
bool DeleteMadeFile(const Text& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) (void)SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != FALSE;
}

// The old file comes back under its name with the contents, time stamps and
// attributes that it had; the new one goes first.  When the new one cannot
// go (in use), the old one stays aside rather than being lost.
void RestoreAside(const Text& path, const Text& aside) {
  if (!IsFile(aside)) return;
  if (!DeleteMadeFile(path)) return;
  (void)MoveFileA(aside.c_str(), path.c_str());
}

// The support library's temporary files that a stopped run left beside the
// files it was making: named by the library's pattern and made since the run
// started.
void DeleteLibraryTemps(const Text& folder, uint64_t started) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\" + kLibraryTempPattern).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    uint64_t made = static_cast<uint64_t>(entry.ftCreationTime.dwHighDateTime) << 32 |
                    entry.ftCreationTime.dwLowDateTime;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && made >= started)
      (void)DeleteMadeFile(folder + "\\" + entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

void RestoreProfile(const JournalRecord& r) {
  (void)WriteProfileStringA(r.target.c_str(), r.name.c_str(), r.had ? r.old.c_str() : NULL);
}

void RestoreValue(const JournalRecord& r) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, r.target.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  if (r.had) {
    (void)RegSetValueExA(key, r.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(r.old.c_str()),
                         static_cast<DWORD>(r.old.size() + 1));
  } else {
    (void)RegDeleteValueA(key, r.name.c_str());
  }
  RegCloseKey(key);
}

void Undo(const JournalRecord& r) {
  switch (r.kind) {
    case JournalKind::Folder:
      // Only an empty folder goes: whatever else is in it was not this run's.
      (void)RemoveDirectoryA(r.target.c_str());
      return;
    case JournalKind::File:
      (void)DeleteMadeFile(r.target);
      return;
    case JournalKind::Replaced:
      RestoreAside(r.target, r.name);
      return;
    case JournalKind::InUse:
      // The old file never left its place; the new one was only to come.
      WithdrawRestartReplacement(r.target);
      (void)DeleteMadeFile(r.name);
      return;
    case JournalKind::Profile:
      RestoreProfile(r);
      return;
    case JournalKind::Key:
      if (!r.had) (void)RegDeleteKeyA(HKEY_LOCAL_MACHINE, r.target.c_str());
      return;
    case JournalKind::Value:
      RestoreValue(r);
      return;
    case JournalKind::Shared:
      WriteSharedCount(r.target, r.had ? static_cast<unsigned long>(ParseDecimal(r.old.c_str())) : 0);
      return;
  }
}

}  // namespace

void UndoRun(const Journal& journal, bool startRemovalCommand) {
  for (const Text& folder : FoldersOfFiles(journal)) DeleteLibraryTemps(folder, journal.started);
  for (const JournalRecord& record : UndoOrder(journal)) Undo(record);
  if (!startRemovalCommand) return;
  for (const Text& folder : TopMadeFolders(journal)) {
    Text command = DeltreeCommand(folder);
    // Not awaited, like every program setup starts.
    if (FitsDosCommandLine(command)) (void)WinExec(command.c_str(), SW_HIDE);
  }
}

void DiscardAsides(const Journal& journal) {
  for (const Text& aside : Asides(journal)) (void)DeleteMadeFile(aside);
}

void FinishEarlierRun() {
  Journal journal;
  if (!ReadJournal(&journal)) return;
  if (journal.committed) {
    DiscardAsides(journal);
    return;
  }
  UndoRun(journal, false);
  (void)DeleteFileA(JournalPath().c_str());
}
