// Frames unpacked ahead on a PC with more than one processor. Room for two
// frames stays while the library is loaded: the frame of the member asked
// for and the next one in the store. In a call with enough to do, a second
// thread unpacks, a block at a time, whatever of them is not out yet while
// the calling thread writes its member; the calling thread unpacks too (its
// own frame first) for as long as its member is not out. The second thread
// ends before the call returns, and the decoders keep their place until the
// next call.
// Frames held are used only while the store is the same file, unchanged
// (StoreFile::Identify). On one processor nothing is held: the calls unpack
// their members straight into their files.
#pragma once

#include <windows.h>

#include "store_file.h"

class FrameAhead {
 public:
  static const int kFrames = 2;
  // A larger frame is unpacked member by member as it is asked for.
  static const uint32_t kLargest = 16 * 1024 * 1024;
  // Bytes to unpack or write in a call for which a second thread is started.
  static const uint32_t kWorthAThread = 1024 * 1024;

  FrameAhead() = default;
  ~FrameAhead() = default;
  FrameAhead(const FrameAhead&) = delete;
  FrameAhead& operator=(const FrameAhead&) = delete;

  // The processors the process may run on (its affinity, where the system
  // has one).
  static int Processors();

  // Holds frames (their first members, as StoreFile::FramesFrom gives them
  // from member, the one asked for), keeping those held already and their
  // place, and starts the second thread on them when the call has
  // kWorthAThread bytes or more to unpack or write. module: the library,
  // whose store the thread opens anew.
  void Start(HMODULE module, const StoreFile& store, const payload::Member* frames, int count,
             const payload::Member& member);

  // member's unpacked bytes, unchecked (the caller checks its CRC-32),
  // unpacked on this thread as far as the second one has not; NULL when its
  // frame is not held, larger than kLargest or damaged. Valid until the next
  // Start.
  const uint8_t* Wait(StoreFile& store, const payload::Member& member);

  // Has the second thread stop after its block, and waits for its end.
  void Stop();

  // Gives the memory back; no call may be running.
  void Release();

 private:
  struct Held {
    payload::Member frame;  // its first member
    bool used;              // holds that frame
    bool begun;             // its packed bytes are read and its decoder started
    uint8_t* bytes;         // kLargest
    uint8_t* packed;        // the packed frame, packedRoom bytes
    uint32_t packedRoom;
    // Shared with the other thread: which thread unpacks it now, how many
    // of its bytes are out, and whether it ended whole or damaged.
    volatile LONG claimed;
    volatile LONG decoded;
    volatile LONG whole;
    volatile LONG failed;
    payload::FrameDecoder decoder;
  };

  __attribute__((force_align_arg_pointer)) static DWORD WINAPI UnpackOnThread(LPVOID self);
  Held* HolderOf(const payload::Member& frame);
  bool Hold(Held& held, const payload::Member& frame);
  bool Claim(Held& held, bool mayBegin);
  Held* ClaimNext(bool mayBegin);
  void Unclaim(Held& held);
  void Unpack(StoreFile& store, Held& held);

  Held held_[kFrames] = {};
  StoreFile::Identity from_ = {};
  HMODULE module_ = NULL;
  HANDLE thread_ = NULL;
  bool threadOpensStore_ = false;  // some frame held is not begun yet
  // Set by a thread that waits for the other's block; the other then signals
  // `progress_` (auto-reset) whenever it lets a frame go.
  HANDLE progress_ = NULL;
  volatile LONG waiting_ = 0;
  volatile LONG stop_ = 0;
};
