// Open probes and their handles.  A handle carries its slot and a count of
// the probes opened before it, so a closed handle stays invalid after its
// slot is reused (unless exactly a multiple of 4095 probes came between).
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "pod_array.h"
#include "scanner.h"

struct ProbeRecord {
  char* path;  // the table's own copy
  Finding finding;
  bool treated;  // a probe is treated at most once
};

class ProbeTable {
 public:
  ProbeTable() = default;
  ~ProbeTable() { CloseAll(); }
  ProbeTable(const ProbeTable&) = delete;
  ProbeTable& operator=(const ProbeTable&) = delete;

  // Opens a probe of `path`: its handle, never 0; 0 when memory runs out or
  // every slot is taken.
  uint32_t Open(const char* path, const Finding& finding);
  // The open probe of `handle`, or null.
  ProbeRecord* Find(uint32_t handle) const;
  void Close(uint32_t handle);
  // Closes every probe and gives back the table's memory.
  void CloseAll();
  size_t OpenCount() const { return slots_.Size() - free_.Size(); }

  static constexpr uint32_t kSlotBits = 20;
  static constexpr uint32_t kMaxSlots = (1u << kSlotBits) - 1;

 private:
  struct Slot {
    ProbeRecord* record;
    uint32_t generation;
  };
  PodArray<Slot> slots_;
  PodArray<uint32_t> free_;
  uint32_t opened_ = 0;
};
