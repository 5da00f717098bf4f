// What the uninstaller removes of a finished install, from setup's journal.
#include "product/logic/journal_removal.h"

#include "product/logic/product_paths.h"
#include "product/logic/uninstall_plan.h"

namespace {

bool HasSharedCount(const Journal& journal, const Text& path) {
  for (const JournalRecord& r : journal.records) {
    if (r.kind == JournalKind::Shared && SamePath(r.target, path)) return true;
  }
  return false;
}

bool Listed(const List<Text>& paths, const Text& path) {
  for (const Text& p : paths) {
    if (SamePath(p, path)) return true;
  }
  return false;
}

}  // namespace

JournalRemoval PlanJournalRemoval(const Journal& found, const JournalPlaces& places,
                                  List<JournalRecord>* skipped) {
  const Journal journal = TrustedJournal(found, places, skipped);
  const Text& windowsFolder = places.windowsFolder;
  const Text& systemFolder = places.systemFolder;
  JournalRemoval plan;
  for (const JournalRecord& r : UndoOrder(journal)) {
    switch (r.kind) {
      case JournalKind::Folder:
        plan.folders.push_back(r.target);
        // Inner ones come first: the last one above is the outermost.
        if (IsInsideFolder(journal.installFolder, r.target)) plan.madeAbove = r.target;
        break;
      case JournalKind::File:
      case JournalKind::Replaced:
      case JournalKind::InUse: {
        bool shared = IsDirectlyIn(r.target, systemFolder);
        bool system = shared || IsDirectlyIn(r.target, windowsFolder);
        if (shared && HasSharedCount(journal, r.target))
          plan.sharedFiles.push_back(r.target);
        else if (system && r.kind != JournalKind::File)
          plan.replacedSystemFiles.push_back(r.target);
        else
          plan.files.push_back(r.target);
        break;
      }
      case JournalKind::Lowered:
        plan.lowering.push_back(r);
        break;
      default:
        break;
    }
  }
  return plan;
}

Journal RemainingJournal(const Journal& journal, const List<Text>& stillThere) {
  Journal remaining = journal;
  remaining.records.clear();
  for (const JournalRecord& r : journal.records) {
    switch (r.kind) {
      case JournalKind::Folder:
      case JournalKind::File:
        if (Listed(stillThere, r.target)) remaining.records.push_back(r);
        break;
      case JournalKind::Replaced:
      case JournalKind::InUse:
        // Setup's own file now, however it came: made, as far as a second
        // run is concerned.
        if (Listed(stillThere, r.target)) remaining.records.push_back({JournalKind::File, r.target});
        break;
      case JournalKind::Shared:
      case JournalKind::Lowered:
        // Counted down once already: a second run must not count again.
        break;
      default:
        remaining.records.push_back(r);
        break;
    }
  }
  return remaining;
}

Journal JournalWhileRemoving(const Journal& journal, const JournalRemoval& plan, const List<Text>& filesLeft,
                             const List<JournalRecord>& lowering) {
  List<Text> named = plan.folders;
  for (const Text& file : filesLeft) named.push_back(file);
  Journal during = RemainingJournal(journal, named);
  for (const JournalRecord& r : lowering) during.records.push_back(r);
  return during;
}
