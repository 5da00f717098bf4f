// Two frames at once on a PC with more than one processor: a call whose
// member's frame is not unpacked yet unpacks that frame and the one after it
// whole into memory, one on a second thread and one on its own, and the
// calls that then ask for their members only write them. No thread outlives
// the call that started it, and frames held are used only while the store
// is the same file, unchanged (StoreFile::Identify). On one processor nothing is held: the calls
// unpack their members straight into their files.
#pragma once

#include <windows.h>

#include "store_file.h"

class FrameAhead {
 public:
  static const int kFrames = 2;
  // A larger frame is unpacked member by member as it is asked for.
  static const uint32_t kLargest = 16 * 1024 * 1024;

  FrameAhead();
  ~FrameAhead() = default;
  FrameAhead(const FrameAhead&) = delete;
  FrameAhead& operator=(const FrameAhead&) = delete;

  // The processors the process may run on (its affinity, where the system
  // has one).
  static int Processors();

  // The unpacked bytes of member when its frame is held whole from the same
  // store, NULL otherwise; unchecked (the caller checks the member's
  // CRC-32). Valid until the next Fill.
  const uint8_t* Take(const StoreFile& store, const payload::Member& member) const;

  // Unpacks frames (their first members, as StoreFile::FramesFrom gives
  // them) whole into memory, the first on a second thread, and keeps what
  // came out whole. module: the library, whose store the thread opens anew.
  void Fill(HMODULE module, StoreFile& store, const payload::Member* frames, int count);

  // Gives the memory back; no call may be running.
  void Release();

 private:
  struct Held {
    payload::Member frame;  // its first member
    uint8_t* bytes;
    uint32_t capacity;
    uint32_t size;
    bool whole;
    payload::Unpacker unpacker;
    uint8_t* in;
  };

  __attribute__((force_align_arg_pointer)) static DWORD WINAPI UnpackOnThread(LPVOID held);
  static void Unpack(StoreFile& store, Held& held);
  bool HaveMemory(Held& held);

  Held held_[kFrames];
  StoreFile::Identity from_;
  HMODULE module_;
};
