// Unpacking ahead of the calls: setup asks for the store's members in the
// store's order, one call each.  On a PC with more than one processor, a
// call whose next member is not unpacked yet unpacks a batch of the
// following members into memory, on a second thread and its own at once,
// and the calls that then ask for them only write them.  No thread outlives
// the call that started it, and a member unpacked ahead is used only while
// the store still holds the same packed bytes for it.
#pragma once

#include <windows.h>

#include "store_file.h"

class ReadAhead {
 public:
  // How many of the members that follow the asked one a call looks at.
  static const int kDepth = 16;

  ReadAhead();
  ~ReadAhead() = default;
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The bytes of member as unpacked ahead, checked against the store's
  // packed bytes (read through buffers); NULL when there are none.  They
  // stay valid until Fill.
  const uint8_t* Take(StoreFile& store, const payload::Member& member, const payload::Buffers& buffers);

  // On a PC with more than one processor, when the first of the following
  // members is worth unpacking ahead and is not held yet, unpacks a batch of
  // them, on a second thread and on the calling one (through store and
  // buffers), and keeps what came out whole.
  void Fill(HMODULE module, StoreFile& store, const payload::Buffers& buffers, const payload::Member* following,
            int count);

  // Gives back the memory and the lock; no call may be running.  Until then
  // the memory is kept for the next batches: fresh pages for every batch
  // cost more than unpacking small members.
  void Release();

 private:
  struct Held {
    payload::Member member;
    uint8_t* bytes;  // in arena_; NULL: the place is free
    uint32_t packedCrc;
    bool whole;
  };

  __attribute__((force_align_arg_pointer)) static DWORD WINAPI UnpackOnThread(LPVOID readAhead);
  // Unpacks batch members, each taken by one thread, until none is left.
  void UnpackBatch(StoreFile& store, const payload::Buffers& buffers);
  bool IsHeld(const payload::Member& member) const;
  bool HaveMemory();

  Held held_[kDepth];
  int batchSize_;
  int nextInBatch_;
  CRITICAL_SECTION batchLock_;
  bool lockMade_;
  uint8_t* arena_;
  HMODULE module_;
  payload::Buffers threadBuffers_;
};
