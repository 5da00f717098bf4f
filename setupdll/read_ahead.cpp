// Members unpacked into memory ahead of the calls that ask for them.
#include "read_ahead.h"

#include "store_format.h"

namespace {

// Larger members are unpacked straight into their file when asked for.
const uint32_t kLargestAhead = 8 * 1024 * 1024;
// The most one batch holds in memory, and about the most kept between
// batches.
const uint32_t kBatchBytes = 32 * 1024 * 1024;
const uint32_t kKeptBytes = kBatchBytes;
const uint32_t kBlockGrain = 256 * 1024;
const DWORD kThreadInSize = 256 * 1024;
const DWORD kThreadOutSize = 256 * 1024;

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

}  // namespace

ReadAhead::ReadAhead()
    : places_(),
      batch_(),
      batchSize_(0),
      nextInBatch_(0),
      batchLock_(),
      lockMade_(false),
      module_(NULL),
      threadBuffers_(),
      thread_(NULL) {}

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
    const int next = nextInBatch_ < batchSize_ ? batch_[nextInBatch_++] : -1;
    LeaveCriticalSection(&batchLock_);
    if (next < 0) return;
    Place& p = places_[next];
    p.whole = store.ExtractToMemory(p.member, p.bytes, buffers, &p.packedCrc);
  }
}

bool ReadAhead::IsHeld(const payload::Member& member) const {
  for (const Place& p : places_)
    if (p.use == Use::Held && SameMember(p.member, member)) return true;
  return false;
}

int ReadAhead::PlaceFor(uint32_t size) {
  // The smallest kept block that is large enough, else the largest, grown.
  int fitting = -1;
  int largest = -1;
  uint32_t kept = 0;
  for (int i = 0; i < kDepth; ++i) {
    const Place& p = places_[i];
    kept += p.capacity;
    if (p.use != Use::Free) continue;
    if (p.capacity >= size && (fitting < 0 || p.capacity < places_[fitting].capacity)) fitting = i;
    if (largest < 0 || p.capacity > places_[largest].capacity) largest = i;
  }
  if (fitting >= 0 || largest < 0) return fitting;
  const int best = largest;
  Place& p = places_[best];
  const uint32_t capacity = (size + kBlockGrain - 1) / kBlockGrain * kBlockGrain;
  kept -= p.capacity;
  GiveBack(p.bytes);
  p.bytes = NULL;
  p.capacity = 0;
  // Over the limit, the other free places give their blocks up first.
  for (Place& other : places_) {
    if (kept + capacity <= kKeptBytes) break;
    if (other.use != Use::Free || other.bytes == NULL) continue;
    kept -= other.capacity;
    GiveBack(other.bytes);
    other.bytes = NULL;
    other.capacity = 0;
  }
  p.bytes = Allocate(capacity);
  if (p.bytes == NULL) return -1;
  p.capacity = capacity;
  return best;
}

bool ReadAhead::HaveThreadBuffers() {
  if (threadBuffers_.in == NULL) {
    threadBuffers_.in = Allocate(kThreadInSize);
    threadBuffers_.inSize = kThreadInSize;
  }
  if (threadBuffers_.out == NULL) {
    threadBuffers_.out = Allocate(kThreadOutSize);
    threadBuffers_.outSize = kThreadOutSize;
  }
  return threadBuffers_.in != NULL && threadBuffers_.out != NULL;
}

const uint8_t* ReadAhead::Take(StoreFile& store, const payload::Member& member, const payload::Buffers& buffers) {
  for (Place& p : places_) {
    if (p.use != Use::Held || !SameMember(p.member, member)) continue;
    uint32_t now = 0;
    if (!store.PackedCrc(member, buffers, &now) || now != p.packedCrc) {
      p.use = Use::Free;
      return NULL;
    }
    p.use = Use::Taken;
    return p.bytes;
  }
  return NULL;
}

void ReadAhead::Start(HMODULE module, const payload::Member* following, int count) {
  // What is held but no longer follows would only be asked for out of order.
  for (Place& p : places_) {
    bool follows = false;
    for (int i = 0; i < count; ++i) follows = follows || SameMember(p.member, following[i]);
    if (p.use == Use::Held && !follows) p.use = Use::Free;
  }
  if (count == 0 || IsHeld(following[0]) || !HaveThreadBuffers()) return;
  if (!lockMade_) {
    InitializeCriticalSection(&batchLock_);
    lockMade_ = true;
  }

  batchSize_ = 0;
  nextInBatch_ = 0;
  uint32_t bytes = 0;
  for (int i = 0; i < count; ++i) {
    const payload::Member& m = following[i];
    if (IsHeld(m) || !WorthUnpackingAhead(m)) continue;
    if (m.size > kBatchBytes - bytes) break;
    const int place = PlaceFor(m.size);
    if (place < 0) break;
    Place& p = places_[place];
    p.use = Use::Batch;
    p.member = m;
    p.whole = false;
    bytes += m.size;
    batch_[batchSize_++] = place;
  }
  if (batchSize_ == 0) return;
  // Largest first: the threads then end the batch on small members, close
  // together.
  for (int i = 1; i < batchSize_; ++i) {
    for (int j = i; j > 0 && places_[batch_[j]].member.size > places_[batch_[j - 1]].member.size; --j) {
      const int larger = batch_[j];
      batch_[j] = batch_[j - 1];
      batch_[j - 1] = larger;
    }
  }
  module_ = module;
  thread_ = CreateThread(NULL, 0, UnpackOnThread, this, 0, NULL);
}

void ReadAhead::Finish(StoreFile& store, const payload::Buffers& buffers) {
  if (batchSize_ > 0) {
    UnpackBatch(store, buffers);
    if (thread_ != NULL) {
      (void)WaitForSingleObject(thread_, INFINITE);
      (void)CloseHandle(thread_);
      thread_ = NULL;
    }
    for (int i = 0; i < batchSize_; ++i) {
      Place& p = places_[batch_[i]];
      p.use = p.whole ? Use::Held : Use::Free;
    }
    batchSize_ = 0;
  }
  for (Place& p : places_)
    if (p.use == Use::Taken) p.use = Use::Free;
}

void ReadAhead::Release() {
  for (Place& p : places_) {
    GiveBack(p.bytes);
    p.bytes = NULL;
    p.capacity = 0;
    p.use = Use::Free;
  }
  GiveBack(threadBuffers_.in);
  GiveBack(threadBuffers_.out);
  threadBuffers_.in = NULL;
  threadBuffers_.out = NULL;
  if (lockMade_) DeleteCriticalSection(&batchLock_);
  lockMade_ = false;
}
