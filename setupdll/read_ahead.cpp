// Reading the store ahead of the decoder on a second thread.
#include "read_ahead.h"

#include "deps.h"

namespace {

// A thread's start and end, in microseconds (see read_ahead.h).
const LONGLONG kThreadCost = 1000;

// Pieces much smaller than the spare tell little of the medium's speed.
const uint32_t kSmallestTimedPiece = 64 * 1024;

LONGLONG TicksPerSecond() {
  static LARGE_INTEGER frequency;
  if (frequency.QuadPart == 0 && !QueryPerformanceFrequency(&frequency)) frequency.QuadPart = -1;
  return frequency.QuadPart;
}

// From call to call: whether the last piece read on the calling thread took
// longer than a thread costs (so at first a thread is started).
bool slowReads = true;

}  // namespace

ReadAhead::ReadAhead(payload::Source& inner, uint8_t* spare, uint32_t spareSize)
    : inner_(inner),
      spare_(spare),
      spareSize_(spareSize),
      thread_(NULL),
      asked_(NULL),
      done_(NULL),
      reading_(false),
      ending_(false),
      offset_(0),
      length_(0),
      read_(false) {}

ReadAhead::~ReadAhead() {
  WaitForPiece();
  if (thread_ != NULL) {
    ending_ = true;
    (void)SetEvent(asked_);
    (void)WaitForSingleObject(thread_, INFINITE);
    (void)CloseHandle(thread_);
  }
  if (asked_ != NULL) (void)CloseHandle(asked_);
  if (done_ != NULL) (void)CloseHandle(done_);
}

DWORD WINAPI ReadAhead::ReadOnThread(LPVOID parameter) {
  ReadAhead* self = static_cast<ReadAhead*>(parameter);
  for (;;) {
    (void)WaitForSingleObject(self->asked_, INFINITE);
    if (self->ending_) return 0;
    self->read_ = self->inner_.Read(self->offset_, self->spare_, self->length_);
    (void)SetEvent(self->done_);
  }
}

void ReadAhead::WaitForPiece() {
  if (!reading_) return;
  (void)WaitForSingleObject(done_, INFINITE);
  reading_ = false;
}

bool ReadAhead::ReadNow(uint32_t offset, void* buffer, uint32_t length) {
  const LONGLONG perSecond = TicksPerSecond();
  LARGE_INTEGER start, end;
  const bool timed = length >= kSmallestTimedPiece && perSecond > 0 && QueryPerformanceCounter(&start);
  const bool read = inner_.Read(offset, buffer, length);
  if (read && timed && QueryPerformanceCounter(&end)) {
    // As long as a whole spare would take.
    const LONGLONG micros = (end.QuadPart - start.QuadPart) * 1000000 / perSecond * spareSize_ / length;
    slowReads = micros > kThreadCost;
  }
  return read;
}

void ReadAhead::Expect(uint32_t offset, uint32_t length) {
  WaitForPiece();
  read_ = false;
  if (spare_ == NULL || length > spareSize_) return;
  if (thread_ == NULL) {
    if (!slowReads) return;
    // Auto-reset events: one piece per signal.
    asked_ = CreateEventA(NULL, FALSE, FALSE, NULL);
    done_ = CreateEventA(NULL, FALSE, FALSE, NULL);
    DWORD id = 0;
    if (asked_ != NULL && done_ != NULL) thread_ = CreateThread(NULL, 0, ReadOnThread, this, 0, &id);
    // Without a thread every read is made when it is asked for.
    if (thread_ == NULL) spare_ = NULL;
    if (thread_ == NULL) return;
  }
  offset_ = offset;
  length_ = length;
  reading_ = true;
  (void)SetEvent(asked_);
}

bool ReadAhead::Read(uint32_t offset, void* buffer, uint32_t length) {
  WaitForPiece();
  if (read_ && offset == offset_ && length == length_) {
    read_ = false;
    CorvaneZstdCopy(buffer, spare_, length);
    return true;
  }
  read_ = false;
  return ReadNow(offset, buffer, length);
}
