// Unpacking ahead of the calls: setup asks for the store's members in the
// store's order, one call each.  On a PC with more than one processor, a
// call that finds the next member not unpacked yet unpacks a batch of the
// following members into memory on two threads at once, and the calls that
// then ask for them only write them.  No thread outlives the call that
// started it, and a member unpacked ahead is used only while the store still
// holds the same packed bytes for it.
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
  // stay valid until Finish.
  const uint8_t* Take(StoreFile& store, const payload::Member& member, const payload::Buffers& buffers);

  // When the first of the following members is not held, starts a second
  // thread on a batch of them; the caller joins in at Finish.
  void Start(HMODULE module, const payload::Member* following, int count);

  // Unpacks the rest of the batch on the calling thread too (through store
  // and buffers), waits for the second thread and keeps what came out whole.
  void Finish(StoreFile& store, const payload::Buffers& buffers);

  // Gives back every block; no call may be running.  Until then blocks are
  // kept for the next batches: fresh memory for every member costs more
  // than unpacking small ones.
  void Release();

 private:
  enum class Use { Free, Batch, Held, Taken };
  struct Place {
    Use use;
    payload::Member member;
    uint32_t packedCrc;
    bool whole;
    uint8_t* bytes;  // kept while the place is free
    uint32_t capacity;
  };

  __attribute__((force_align_arg_pointer)) static DWORD WINAPI UnpackOnThread(LPVOID readAhead);
  // Unpacks batch members, each taken by one thread, until none is left.
  void UnpackBatch(StoreFile& store, const payload::Buffers& buffers);
  bool IsHeld(const payload::Member& member) const;
  bool HaveThreadBuffers();
  // A free place with room for size bytes, or -1.
  int PlaceFor(uint32_t size);

  Place places_[kDepth];
  // The batch: indexes into places_, handed out to either thread in order.
  int batch_[kDepth];
  int batchSize_;
  int nextInBatch_;
  CRITICAL_SECTION batchLock_;
  bool lockMade_;
  HMODULE module_;
  payload::Buffers threadBuffers_;
  HANDLE thread_;
};
