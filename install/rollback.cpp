// Undoing an install run from its journal.
#include "install/rollback.h"

#include <windows.h>

#include "common/bounded_text.h"
#include "common/disk_ops.h"
#include "common/folder_guard.h"
#include "common/memory.h"
#include "common/shell_folders.h"
#include "install/journal_file.h"
#include "install/restart_replacement.h"
#include "common/shared_count.h"
#include "setupdll/at_restart.h"
#include "common/setup_log.h"

namespace {

constexpr DWORD kCompareChunk = 64 * 1024;

bool IsFile(const Text& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t Joined(const FILETIME& time) {
  return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}


// A read-only file is deleted like any other: setup made it, or kept it.
bool DeleteMadeFile(const Text& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) (void)ops::SetAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ops::Delete(path.c_str()) || !IsFile(path);
}

bool SameContents(const Text& a, const Text& b) {
  HANDLE first = CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  if (first == INVALID_HANDLE_VALUE) return false;
  HANDLE second = CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  bool same = second != INVALID_HANDLE_VALUE && GetFileSize(first, NULL) == GetFileSize(second, NULL);
  Text one(kCompareChunk, '\0'), other(kCompareChunk, '\0');
  while (same) {
    DWORD got = 0, gotOther = 0;
    same = ReadFile(first, &one[0], kCompareChunk, &got, NULL) && ReadFile(second, &other[0], kCompareChunk, &gotOther, NULL) &&
           got == gotOther && CompareBytes(one.data(), other.data(), got) == 0;
    if (got == 0) break;
  }
  if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
  CloseHandle(first);
  return same;
}

// The old file comes back under its name with the contents, time stamps and
// attributes that it had; the new one goes first.  When the new one cannot
// go (in use), the old one stays aside, and its record with it.
bool RestoreAside(const Text& path, const Text& aside) {
  if (!IsFile(aside)) return true;
  return DeleteMadeFile(path) && ops::Move(aside.c_str(), path.c_str());
}

// A file in use was to be replaced when Windows next starts, with its old
// contents copied aside.  Whether or not that replacement has happened
// since, the old contents end up under its name.
bool RestoreInUse(const Text& path, const Text& aside) {
  WithdrawRestartReplacement(path);
  if (!IsFile(aside)) return true;
  if (SameContents(path, aside)) return DeleteMadeFile(aside);
  if (RestoreAside(path, aside)) return true;
  // Held again: the old copy takes its place at the next start.
  return ReplaceAtRestart(aside.c_str(), path.c_str());
}

// Outside the install folder, a file that another program has put in the
// run's place since is not the run's to delete. made: the index of the
// record of the file's making.
bool DeleteRunsFile(const Journal& journal, const JournalPlaces* places, size_t made) {
  const Text& path = journal.records[made].target;
  FileFacts facts;
  if (!FactsOfFile(path, &facts)) return true;
  if (places && !InsideInstallFolder(path, *places) &&
      !StillTheRunsFile(UpToReadiedAgain(journal, made), path, facts)) {
    SetupLog("설치 뒤에 바뀐 파일이라 남깁니다: " + path);
    return true;
  }
  return DeleteMadeFile(path);
}

Text FolderFrom(UINT (WINAPI* ask)(LPSTR, UINT)) {
  char folder[MAX_PATH] = "";
  UINT n = ask(folder, sizeof folder);
  return n == 0 || n >= sizeof folder ? Text() : Text(folder);
}

// The support library's temporary files that a stopped run left beside the
// files it was making: named by the library's pattern and made since the run
// started.
void DeleteLibraryTemps(const Text& folder, uint64_t started) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\" + kLibraryTempPattern).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Joined(entry.ftCreationTime) >= started)
      (void)DeleteMadeFile(folder + "\\" + entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

bool RestoreProfile(const JournalRecord& r) {
  return ops::WriteProfile(r.target.c_str(), r.name.c_str(), r.had ? r.old.c_str() : NULL);
}

bool RestoreValue(const JournalRecord& r) {
  HKEY key;
  // No key, no value of the run's in it.
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, r.target.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return !r.had;
  LONG result = r.had ? ops::SetString(key, r.name.c_str(), r.old.c_str()) : ops::DeleteValue(key, r.name.c_str());
  RegCloseKey(key);
  return result == ERROR_SUCCESS || (!r.had && result == ERROR_FILE_NOT_FOUND);
}

// False when the record at index `at` could not be undone.
bool Undo(const Journal& journal, const JournalPlaces* places, size_t at) {
  const JournalRecord& r = journal.records[at];
  switch (r.kind) {
    case JournalKind::Folder:
      // Only an empty folder goes: whatever else is in it was not this run's.
      (void)ops::RemoveFolder(r.target.c_str());
      return true;
    case JournalKind::File:
      return DeleteRunsFile(journal, places, at);
    case JournalKind::Replaced:
      return RestoreAside(r.target, r.name);
    case JournalKind::InUse:
      return RestoreInUse(r.target, r.name);
    case JournalKind::Profile:
      return RestoreProfile(r);
    case JournalKind::Key:
      // A key that still holds values or keys of others stays.
      if (!r.had) (void)ops::DeleteKey(HKEY_LOCAL_MACHINE, r.target.c_str());
      return true;
    case JournalKind::Value:
      return RestoreValue(r);
    case JournalKind::Shared:
      return WriteSharedCount(r.target, r.had ? static_cast<unsigned long>(ParseDecimal(r.old.c_str())) : 0);
    case JournalKind::Stamp:
    case JournalKind::Lowered:
      return true;
  }
  return true;
}

Journal Undone(const Journal& journal, const JournalPlaces* places, bool startRemovalCommand) {
  for (const Text& folder : FoldersOfFiles(journal)) DeleteLibraryTemps(folder, journal.started);
  // The library rewrites WININIT.INI through a temporary file beside it.
  DeleteLibraryTemps(FolderFrom(GetWindowsDirectoryA), journal.started);
  Journal left = journal;
  left.records.clear();
  left.committed = false;
  List<JournalRecord> stuck;
  for (size_t at : RollbackIndexes(journal)) {
    if (Undo(journal, places, at)) continue;
    SetupLog("되돌리지 못했습니다: " + journal.records[at].target);
    stuck.push_back(journal.records[at]);
  }
  // Back in the order they were written, with the size records the files
  // they name are judged by.
  for (size_t i = stuck.size(); i-- > 0;) left.records.push_back(stuck[i]);
  for (const JournalRecord& record : journal.records)
    if (record.kind == JournalKind::Stamp && !left.records.empty()) left.records.push_back(record);
  if (!startRemovalCommand) return left;
  for (const Text& folder : TopMadeFolders(journal)) {
    Text command = DeltreeCommand(folder);
    // Not awaited, like every program setup starts.
    if (FitsDosCommandLine(command)) (void)WinExec(command.c_str(), SW_HIDE);
  }
  return left;
}

}  // namespace

bool FactsOfFile(const Text& path, FileFacts* facts) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  facts->size = static_cast<uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
  facts->created = Joined(found.ftCreationTime);
  facts->written = Joined(found.ftLastWriteTime);
  return true;
}

Journal UndoRun(const Journal& journal, bool startRemovalCommand) {
  return Undone(journal, nullptr, startRemovalCommand);
}

void DiscardAsides(const Journal& journal) {
  for (const Text& aside : Asides(journal)) (void)DeleteMadeFile(aside);
}

JournalPlaces PlacesOf(const Journal& journal) {
  JournalPlaces places;
  Text longForm;
  if (MayRemoveOrStopIn(journal.installFolder, &longForm, nullptr)) {
    places.installFolders.push_back(journal.installFolder);
    places.installFolders.push_back(longForm);
    Text shortForm = SystemPathForms(longForm).shortForm;
    if (!shortForm.empty()) places.installFolders.push_back(shortForm);
  }
  places.windowsFolder = FolderFrom(GetWindowsDirectoryA);
  places.systemFolder = FolderFrom(GetSystemDirectoryA);
  places.programsFolder = ShellProgramsFolder();
  return places;
}

bool FinishEarlierRun(Text* stuckOn) {
  Journal journal;
  switch (ReadJournalFile(&journal)) {
    case JournalFile::Absent:
      return true;
    case JournalFile::Unreadable:
      SetupLog("설치 기록을 읽을 수 없습니다: " + JournalPath());
      *stuckOn = JournalPath();
      return false;
    case JournalFile::NotAJournal:
      // Cut before its first line was whole: nothing had been changed yet.
      (void)DeleteJournal();
      return true;
    case JournalFile::Read:
      break;
  }
  // A finished run whose old copies are all gone leaves nothing to do: the
  // records need no judging then.
  if (journal.committed) {
    bool asideLeft = false;
    for (const Text& aside : Asides(journal)) asideLeft = asideLeft || IsFile(aside);
    if (!asideLeft) return true;
  }
  const JournalPlaces places = PlacesOf(journal);
  List<JournalRecord> skipped;
  const Journal trusted = TrustedJournal(journal, places, &skipped);
  for (const JournalRecord& record : skipped)
    SetupLog("설치 기록의 이 항목은 따르지 않습니다: " + JournalLine(record));
  if (journal.committed) {
    DiscardAsides(trusted);
    return true;
  }
  SetupLog("끝나지 않은 설치를 되돌립니다.");
  const Journal left = Undone(trusted, &places, false);
  if (left.records.empty()) {
    (void)DeleteJournal();
    return true;
  }
  (void)WriteJournal(left);
  *stuckOn = left.records[0].target;
  return false;
}
