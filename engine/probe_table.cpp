// Handles are (generation << kSlotBits) | (slot index + 1), where the
// generation counts the probes opened.
#include "probe_table.h"

#include "common/bounded_text.h"
#include "common/memory.h"

namespace {

constexpr uint32_t kGenerationMask = (1u << (32 - ProbeTable::kSlotBits)) - 1;

void FreeRecord(ProbeRecord* record) {
  if (!record) return;
  GiveMemory(record->path);
  GiveMemory(record);
}

}  // namespace

uint32_t ProbeTable::Open(const char* path, const Finding& finding) {
  size_t length = TextLength(path);
  ProbeRecord* record = static_cast<ProbeRecord*>(TakeMemory(sizeof(ProbeRecord)));
  char* copy = static_cast<char*>(TakeMemory(length + 1));
  if (!record || !copy) {
    GiveMemory(record);
    GiveMemory(copy);
    return 0;
  }
  CopyBytes(copy, path, length + 1);
  record->path = copy;
  record->finding = finding;
  record->treated = false;

  uint32_t index;
  if (free_.Size() > 0) {
    index = free_[free_.Size() - 1];
    free_.Pop();
  } else if (slots_.Size() < kMaxSlots && slots_.Push(Slot{nullptr, 0})) {
    index = static_cast<uint32_t>(slots_.Size() - 1);
  } else {
    FreeRecord(record);
    return 0;
  }
  // One count for the whole table, kept over CloseAll, so that a handle from
  // before a turn-off does not name a probe opened after it.
  opened_ = (opened_ + 1) & kGenerationMask;
  if (opened_ == 0) opened_ = 1;
  slots_[index] = Slot{record, opened_};
  return (opened_ << kSlotBits) | (index + 1);
}

ProbeRecord* ProbeTable::Find(uint32_t handle) const {
  uint32_t number = handle & kMaxSlots;
  if (number == 0 || number > slots_.Size()) return nullptr;
  const Slot& slot = slots_[number - 1];
  if (!slot.record || slot.generation != handle >> kSlotBits) return nullptr;
  return slot.record;
}

void ProbeTable::Close(uint32_t handle) {
  if (!Find(handle)) return;
  uint32_t index = (handle & kMaxSlots) - 1;
  // Should the free list fail to grow, the probe stays until CloseAll.
  if (!free_.Push(index)) return;
  FreeRecord(slots_[index].record);
  slots_[index].record = nullptr;
}

void ProbeTable::CloseAll() {
  for (size_t i = 0; i < slots_.Size(); ++i) FreeRecord(slots_[i].record);
  slots_.Release();
  free_.Release();
}
