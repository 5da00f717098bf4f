// Removing what setup made of an installation.
#include "product/unsetup/removal.h"

#include <windows.h>

#include "common/bounded_text.h"
#include "common/disk_ops.h"
#include "common/folder_guard.h"
#include "common/list.h"
#include "common/path_text.h"
#include "common/setup_log.h"
#include "common/shared_count.h"
#include "install/install_records.h"
#include "install/journal_file.h"
#include "install/restart_replacement.h"
#include "install/rollback.h"
#include "product/common/records.h"
#include "product/logic/journal_removal.h"
#include "product/logic/product_paths.h"
#include "product/unsetup/stop_programs.h"
#include "setupdll/at_restart.h"

namespace {

// A program that has just been ended may hold its file for a moment.
constexpr int kDeleteAttempts = 5;
constexpr DWORD kDeleteRetryMs = 100;

// Deletes a file now, or else arranges its deletion at the next start; what
// can go neither way is told in the last message.  False when the file is
// still there.
bool DeleteFileNowOrLater(const Text& path, RemovalOutcome* outcome) {
  if (SamePath(path, OwnProgramPath())) return true;
  (void)ops::SetAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
    if (ops::Delete(path.c_str()) || !FileExists(path)) return true;
    Sleep(kDeleteRetryMs);
  }
  if (DeleteAtRestart(path.c_str()))
    outcome->leftForRestart = true;
  else
    outcome->notRemoved.push_back(path);
  return false;
}

void DeleteEntries(const Text& folder, const List<FolderEntry>& entries, RemovalOutcome* outcome);

// A folder that still holds a file waiting for the restart stays.  A
// junction (Windows 2000 and later) leads out of the install folder: only the
// link itself goes, or it stays, and what it leads to is never emptied.
void DeleteTree(const Text& folder, RemovalOutcome* outcome) {
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    (void)ops::RemoveFolder(folder.c_str());
    return;
  }
  DeleteEntries(folder, ListFolder(folder), outcome);
  (void)ops::SetAttributes(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  (void)ops::RemoveFolder(folder.c_str());
}

void DeleteEntries(const Text& folder, const List<FolderEntry>& entries, RemovalOutcome* outcome) {
  for (const FolderEntry& entry : entries) {
    Text path = JoinPath(folder, entry.name);
    if (entry.isFolder) {
      DeleteTree(path, outcome);
    } else {
      (void)DeleteFileNowOrLater(path, outcome);
    }
  }
}

// What is left in the install folder once setup's own entries are gone is
// not setup's: it goes only when the user says so, and otherwise keeps the
// folder.  Returns the folder when it is kept.
Text OfferTheRest(const Text& folder, const List<FolderEntry>& others, OthersQuestion* question,
                 RemovalOutcome* outcome) {
  if (others.empty()) return "";
  if (!question->DeleteOthers(folder, others)) return folder;
  DeleteEntries(folder, others, outcome);
  return "";
}

// The product's entries go; the user's own go only when the user says so,
// and otherwise keep the folder.  Returns the folder when it is kept.
Text RemoveInstallFolder(const Text& folder, OthersQuestion* question, RemovalOutcome* outcome) {
  if (folder.empty() || !FolderExists(folder)) return "";
  List<FolderEntry> product;
  List<FolderEntry> others;
  SplitEntries(ListFolder(folder), &product, &others);
  bool keepOthers = !others.empty() && !question->DeleteOthers(folder, others);
  DeleteEntries(folder, product, outcome);
  if (keepOthers) return folder;
  DeleteTree(folder, outcome);
  return "";
}

// Only shortcuts are taken out of the group; anything else keeps it.
void RemoveGroup(const Text& group) {
  if (group.empty() || !FolderExists(group)) return;
  for (const FolderEntry& entry : ListFolder(group)) {
    if (entry.isFolder || !IsShortcutName(entry.name)) continue;
    Text path = JoinPath(group, entry.name);
    (void)ops::SetAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    (void)ops::Delete(path.c_str());
  }
  (void)ops::RemoveFolder(group.c_str());
}

void RemoveRecords() {
  (void)ops::WriteProfile(kRecordSection, NULL, NULL);
  (void)ops::DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}

// One user less for a file in the system folder; it goes when it has none.
// A file without a count is left as it is: whoever removed the count may
// have had reason to.
// One user less, once: the L record names the count it is lowered from, so
// that a run stopped at any point and run again lowers it no further.  The
// file goes when no user is left, and only while it is as setup left it.
void LowerOnce(const JournalRecord& lowered, bool mayDelete, RemovalOutcome* outcome, List<Text>* stillThere) {
  const unsigned long from = static_cast<unsigned long>(ParseDecimal(lowered.old.c_str()));
  unsigned long count = 0;
  if (!ReadSharedCount(lowered.target, &count)) count = 0;
  if (count == from && from > 0) {
    (void)WriteSharedCount(lowered.target, count - 1);
    count = from - 1;
  }
  if (count != 0 || from > 1 || !FileExists(lowered.target)) return;
  if (!mayDelete)
    outcome->keptChanged.push_back(lowered.target);
  else if (!DeleteFileNowOrLater(lowered.target, outcome))
    stillThere->push_back(lowered.target);
}

// The L records of this run: every counted file's count as it is now.
List<JournalRecord> CountsToLower(const JournalRemoval& plan) {
  List<JournalRecord> lowering = plan.lowering;
  for (const Text& file : plan.sharedFiles) {
    unsigned long count = 0;
    if (!ReadSharedCount(file, &count)) continue;
    char decimal[16];
    wsprintfA(decimal, "%lu", count);
    lowering.push_back({JournalKind::Lowered, file, "", false, decimal});
  }
  return lowering;
}

void RemoveFolders(const List<Text>& folders) {
  for (const Text& folder : folders) (void)ops::RemoveFolder(folder.c_str());
}

// The journal as it is on disk now: another run of the uninstaller may have
// done part of the work since this one read it.  A journal that has gone
// since, or that another install has put in its place, names nothing for
// this run to delete or count down.
Journal CurrentJournal(const Journal& found) {
  Journal current;
  if (ReadJournal(&current) && current.committed && current.started == found.started) return current;
  current = found;
  current.records.clear();
  return current;
}

// Without the journal written ahead, neither a file nor a count is touched:
// they are told as not removed, and the records stay for a second run.
RemovalOutcome NothingWithoutJournal(const JournalRemoval& plan) {
  RemovalOutcome outcome;
  outcome.notRemoved = plan.files;
  for (const Text& file : plan.sharedFiles) outcome.notRemoved.push_back(file);
  outcome.recordsKept = true;
  outcome.madeAbove = plan.madeAbove;
  return outcome;
}

// Outside the install folder a file goes only while it is as setup left
// it: another program's newer copy, or a file the user put there, stays
// and is named in the last message.
bool StillSetups(const Journal& journal, const JournalPlaces& places, const Text& file) {
  FileFacts facts;
  return InsideInstallFolder(file, places) || !FactsOfFile(file, &facts) || StillTheRunsFile(journal, file, facts);
}

// A file that SharedDLLs counts goes only through its count: a second run
// finds no count record of its own for a file whose count an earlier run
// has lowered already.
void KeepWhatOthersHave(const Journal& journal, const JournalPlaces& places, JournalRemoval* plan,
                        RemovalOutcome* outcome) {
  List<Text> kept;
  for (const Text& file : plan->files) {
    unsigned long count = 0;
    if (!InsideInstallFolder(file, places) && ReadSharedCount(file, &count)) continue;
    if (StillSetups(journal, places, file))
      kept.push_back(file);
    else
      outcome->keptChanged.push_back(file);
  }
  plan->files = kept;
}

RemovalOutcome RemoveByJournal(const Installation& installation, OthersQuestion* question) {
  RemovalOutcome outcome;
  StopProgramsIn(installation.folder);
  const Journal journal = CurrentJournal(installation.journal);
  const JournalPlaces places = PlacesOf(journal);
  List<JournalRecord> skipped;
  JournalRemoval plan = PlanJournalRemoval(journal, places, &skipped);
  for (const JournalRecord& record : skipped)
    SetupLog("설치 기록의 이 항목은 따르지 않습니다: " + JournalLine(record));
  KeepWhatOthersHave(journal, places, &plan, &outcome);
  outcome.madeAbove = plan.madeAbove;
  const List<JournalRecord> lowering = CountsToLower(plan);
  bool hasSteps = !plan.files.empty() || !lowering.empty();
  if (hasSteps && !WriteFinishedJournal(JournalWhileRemoving(journal, plan, plan.files, lowering)))
    return NothingWithoutJournal(plan);
  // A replacement still waiting for the next start would bring a deleted
  // file back.
  for (const JournalRecord& record : journal.records) {
    if (record.kind != JournalKind::InUse) continue;
    for (const Text& file : plan.files) {
      if (SamePath(file, record.target)) WithdrawRestartReplacement(record.target);
    }
  }
  List<Text> stillThere;
  for (const Text& file : plan.files) {
    if (!DeleteFileNowOrLater(file, &outcome)) stillThere.push_back(file);
  }
  for (const JournalRecord& lowered : lowering)
    LowerOnce(lowered, StillSetups(journal, places, lowered.target), &outcome, &stillThere);
  RemoveFolders(plan.folders);
  if (!installation.folder.empty() && FolderExists(installation.folder)) {
    // This program itself may still run from there; its caller deletes it.
    List<FolderEntry> others;
    for (const FolderEntry& entry : ListFolder(installation.folder)) {
      if (!SamePath(JoinPath(installation.folder, entry.name), OwnProgramPath())) others.push_back(entry);
    }
    // The question may stay open until Windows shuts down: what did not go
    // is named again before it.
    if (!stillThere.empty()) (void)WriteFinishedJournal(JournalWhileRemoving(journal, plan, stillThere, lowering));
    outcome.keptFolder = OfferTheRest(installation.folder, others, question, &outcome);
    RemoveFolders(plan.folders);
    // Emptied with the user's consent: the folder goes even when an earlier
    // install had made it.
    if (outcome.keptFolder.empty()) (void)ops::RemoveFolder(installation.folder.c_str());
  }
  for (const Text& folder : plan.folders) {
    if (FolderExists(folder)) stillThere.push_back(folder);
  }
  bool setupFilesLeft = outcome.leftForRestart || !outcome.notRemoved.empty();
  for (const Text& path : stillThere) setupFilesLeft = setupFilesLeft || FileExists(path);
  if (setupFilesLeft && WriteFinishedJournal(RemainingJournal(journal, stillThere))) {
    outcome.recordsKept = true;
    return outcome;
  }
  RemoveRecords();
  (void)DeleteJournal();
  return outcome;
}

RemovalOutcome RemoveWithoutJournal(const Installation& installation, OthersQuestion* question) {
  RemovalOutcome outcome;
  StopProgramsIn(installation.folder);
  outcome.keptFolder = RemoveInstallFolder(installation.folder, question, &outcome);
  RemoveGroup(installation.group);
  if (!installation.links.mainProgram.empty()) (void)ops::Delete(installation.links.mainProgram.c_str());
  if (!installation.links.scheduledScan.empty()) (void)ops::Delete(installation.links.scheduledScan.c_str());
  if (outcome.leftForRestart || !outcome.notRemoved.empty()) {
    outcome.recordsKept = true;
    return outcome;
  }
  RemoveRecords();
  return outcome;
}

}  // namespace

RemovalOutcome RemoveInstallation(const Installation& installation, OthersQuestion* question) {
  // Once more just before anything goes: a folder may have changed since.
  RemovalOutcome refused;
  refused.refused = GuardedInstallation(installation.folder, installation.group).refused;
  if (refused.refused.why != FolderRefusal::None) return refused;
  return installation.hasJournal ? RemoveByJournal(installation, question) : RemoveWithoutJournal(installation, question);
}
