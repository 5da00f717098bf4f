// Members unpacked into memory ahead of the calls that ask for them.
#include "read_ahead.h"

#include "store_format.h"

namespace {

// Larger members are unpacked straight into their file when asked for.
const uint32_t kLargestAhead = 8 * 1024 * 1024;
// One batch's memory, kept from batch to batch.
const uint32_t kArenaSize = 32 * 1024 * 1024;
const DWORD kThreadInSize = 256 * 1024;

uint8_t* Allocate(DWORD size) { return static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size)); }

void GiveBack(void* p) {
  if (p != NULL) (void)HeapFree(GetProcessHeap(), 0, p);
}

// Everything the unpacked bytes depend on; the packed bytes themselves are
// compared by their CRC-32 when a held member is taken.
bool SameMember(const payload::Member& a, const payload::Member& b) {
  return a.offset == b.offset && a.packedSize == b.packedSize && a.size == b.size && a.crc == b.crc &&
         a.method == b.method;
}

// A stored member costs a copy either way.
bool WorthUnpackingAhead(const payload::Member& member) {
  return member.method == payload::kMethodDeflate && member.size > 0 && member.size <= kLargestAhead;
}

// Windows 95 and 98 run on one processor; a second thread would only take
// turns with the first.
bool SeveralProcessors() {
  static DWORD processors = 0;
  if (processors == 0) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    processors = info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
  }
  return processors > 1;
}

}  // namespace

ReadAhead::ReadAhead()
    : held_(),
      batchSize_(0),
      nextInBatch_(0),
      batchLock_(),
      lockMade_(false),
      arena_(NULL),
      module_(NULL),
      threadBuffers_() {}

DWORD WINAPI ReadAhead::UnpackOnThread(LPVOID parameter) {
  ReadAhead* self = static_cast<ReadAhead*>(parameter);
  // A handle of its own: the calling thread reads the store at the same time.
  StoreFile store;
  if (store.Open(self->module_)) self->UnpackBatch(store, self->threadBuffers_);
  return 0;
}

void ReadAhead::UnpackBatch(StoreFile& store, const payload::Buffers& buffers) {
  for (;;) {
    EnterCriticalSection(&batchLock_);
    const int next = nextInBatch_ < batchSize_ ? nextInBatch_++ : -1;
    LeaveCriticalSection(&batchLock_);
    if (next < 0) return;
    Held& h = held_[next];
    h.whole = store.ExtractToMemory(h.member, h.bytes, buffers, &h.packedCrc);
  }
}

bool ReadAhead::IsHeld(const payload::Member& member) const {
  for (const Held& h : held_)
    if (h.bytes != NULL && SameMember(h.member, member)) return true;
  return false;
}

bool ReadAhead::HaveMemory() {
  if (arena_ == NULL) arena_ = Allocate(kArenaSize);
  if (threadBuffers_.in == NULL) {
    threadBuffers_.in = Allocate(kThreadInSize);
    threadBuffers_.inSize = kThreadInSize;
  }
  if (!lockMade_) {
    InitializeCriticalSection(&batchLock_);
    lockMade_ = true;
  }
  return arena_ != NULL && threadBuffers_.in != NULL;
}

const uint8_t* ReadAhead::Take(StoreFile& store, const payload::Member& member, const payload::Buffers& buffers) {
  for (Held& h : held_) {
    if (h.bytes == NULL || !SameMember(h.member, member)) continue;
    uint8_t* bytes = h.bytes;
    h.bytes = NULL;
    uint32_t now = 0;
    return store.PackedCrc(member, buffers, &now) && now == h.packedCrc ? bytes : NULL;
  }
  return NULL;
}

void ReadAhead::Fill(HMODULE module, StoreFile& store, const payload::Buffers& buffers,
                     const payload::Member* following, int count) {
  if (!SeveralProcessors() || count == 0 || !WorthUnpackingAhead(following[0]) || IsHeld(following[0]) ||
      !HaveMemory()) {
    return;
  }
  // What is still held was unpacked for calls that went another way; the
  // batch takes its memory.
  for (Held& h : held_) h.bytes = NULL;

  // The next members, in their order, as far as the memory goes.
  batchSize_ = 0;
  nextInBatch_ = 0;
  uint32_t used = 0;
  for (int i = 0; i < count; ++i) {
    const payload::Member& m = following[i];
    if (!WorthUnpackingAhead(m)) continue;
    if (m.size > kArenaSize - used) break;
    Held& h = held_[batchSize_++];
    h.member = m;
    h.bytes = arena_ + used;
    h.whole = false;
    used += m.size;
  }
  // Unpacked largest first: the two threads then end on small members, close
  // together.
  for (int i = 1; i < batchSize_; ++i) {
    for (int j = i; j > 0 && held_[j].member.size > held_[j - 1].member.size; --j) {
      const Held larger = held_[j];
      held_[j] = held_[j - 1];
      held_[j - 1] = larger;
    }
  }

  module_ = module;
  HANDLE thread = CreateThread(NULL, 0, UnpackOnThread, this, 0, NULL);
  UnpackBatch(store, buffers);
  if (thread != NULL) {
    (void)WaitForSingleObject(thread, INFINITE);
    (void)CloseHandle(thread);
  }
  for (int i = 0; i < batchSize_; ++i)
    if (!held_[i].whole) held_[i].bytes = NULL;
  batchSize_ = 0;
}

void ReadAhead::Release() {
  for (Held& h : held_) h.bytes = NULL;
  GiveBack(arena_);
  arena_ = NULL;
  GiveBack(threadBuffers_.in);
  threadBuffers_.in = NULL;
  if (lockMade_) DeleteCriticalSection(&batchLock_);
  lockMade_ = false;
}
