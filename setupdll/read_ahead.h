// Reading the store ahead of the decoder: Windows 95 has no overlapped file
// reads, so while the calling thread unpacks one piece of a frame, a second
// thread reads the next one, on one processor as on several (the disk or the
// CD works while the processor decodes). The thread lives only as long as
// this object, which lives inside one InitInstall call: a library cannot
// wait for its threads while it is being unloaded.
// Starting and ending a thread costs about a millisecond (under Wine; less
// on Windows 9x), as much as unpacking 400 KB: the thread is started only
// while the pieces read last came more slowly than that, as from a CD or a
// disk, and not from the system's cache.
#pragma once

#include <windows.h>

#include "store_reader.h"

class ReadAhead : public payload::Source {
 public:
  // Reads through inner; spare (of spareSize bytes, kept by the caller from
  // call to call) holds the piece read ahead.
  ReadAhead(payload::Source& inner, uint8_t* spare, uint32_t spareSize);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  bool Read(uint32_t offset, void* buffer, uint32_t length) override;
  void Expect(uint32_t offset, uint32_t length) override;

 private:
  __attribute__((force_align_arg_pointer)) static DWORD WINAPI ReadOnThread(LPVOID self);
  void WaitForPiece();
  // Reads through inner_ on this thread, noting how long a piece takes.
  bool ReadNow(uint32_t offset, void* buffer, uint32_t length);

  payload::Source& inner_;
  uint8_t* spare_;
  uint32_t spareSize_;
  HANDLE thread_;
  HANDLE asked_;  // set by the caller: a piece to read, or the end
  HANDLE done_;   // set by the thread: the piece is read
  bool reading_;  // a piece was asked for and not waited for yet
  bool ending_;
  uint32_t offset_;
  uint32_t length_;
  bool read_;  // the piece in spare_ is whole
};
