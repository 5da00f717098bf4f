// Frames unpacked ahead of the calls that ask for their members, on two
// threads.
#include "frame_ahead.h"
#include "store_format.h"

namespace {

uint8_t* Allocate(DWORD size) { return static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size)); }

void GiveBack(void* p) {
  if (p != NULL) (void)HeapFree(GetProcessHeap(), 0, p);
}

bool SameFrame(const payload::Member& a, const payload::Member& b) {
  return a.method == payload::kMethodZstd && b.method == payload::kMethodZstd && a.offset == b.offset &&
         a.packedSize == b.packedSize;
}

bool SameStore(const StoreFile::Identity& a, const StoreFile::Identity& b) {
  return a.size == b.size && a.directoryCrc == b.directoryCrc && CompareFileTime(&a.written, &b.written) == 0;
}

// An aligned 32-bit read is whole on every x86, which keeps reads in order,
// and the writers use InterlockedExchange: only the compiler must not move
// the read. (InterlockedCompareExchange is neither in Windows 95's KERNEL32
// nor an instruction of the 386.)
LONG Load(volatile LONG& value) {
  const LONG read = value;
  __asm__ __volatile__("" ::: "memory");
  return read;
}

typedef BOOL(WINAPI* AffinityFunction)(HANDLE, PDWORD_PTR, PDWORD_PTR);

}  // namespace

int FrameAhead::Processors() {
  static int processors = 0;
  if (processors != 0) return processors;
  processors = 1;
  // Not imported: the first Windows 95 has no use for it, and Wine reports
  // every processor of the machine to GetSystemInfo whatever the affinity.
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  AffinityFunction affinity =
      kernel != NULL
          ? reinterpret_cast<AffinityFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetProcessAffinityMask")))
          : NULL;
  DWORD_PTR process = 0, system = 0;
  if (affinity != NULL && affinity(GetCurrentProcess(), &process, &system)) {
    int count = 0;
    for (; process != 0; process &= process - 1) ++count;
    if (count > 0) processors = count;
  }
  return processors;
}

FrameAhead::Held* FrameAhead::HolderOf(const payload::Member& frame) {
  for (Held& h : held_)
    if (h.used && SameFrame(h.frame, frame)) return &h;
  return NULL;
}

bool FrameAhead::Hold(Held& held, const payload::Member& frame) {
  if (held.bytes == NULL) held.bytes = Allocate(kLargest);
  held.used = held.bytes != NULL;
  held.frame = frame;
  held.begun = false;
  held.claimed = 0;
  held.decoded = 0;
  held.whole = 0;
  held.failed = 0;
  return held.used;
}

void FrameAhead::Start(HMODULE module, const StoreFile& store, const payload::Member* frames, int count,
                       const payload::Member& member) {
  if (count > kFrames) count = kFrames;
  const StoreFile::Identity now = store.Identify();
  // Frames no longer asked for make room for the next ones; all of them go
  // when the store is another.
  for (Held& h : held_) {
    bool wanted = false;
    for (int i = 0; i < count; ++i) wanted = wanted || SameFrame(h.frame, frames[i]);
    if (!wanted || !SameStore(now, from_)) h.used = false;
  }
  from_ = now;
  module_ = module;
  for (int i = 0; i < count; ++i) {
    if (HolderOf(frames[i]) != NULL) continue;
    for (Held& h : held_) {
      if (!h.used) {
        (void)Hold(h, frames[i]);
        break;
      }
    }
  }
  if (progress_ == NULL) progress_ = CreateEventA(NULL, FALSE, FALSE, NULL);
  bool work = false;
  threadOpensStore_ = false;
  for (Held& h : held_) {
    work = work || (h.used && !h.whole && !h.failed);
    threadOpensStore_ = threadOpensStore_ || (h.used && !h.begun);
  }
  // A thread costs about as much as unpacking or writing a few hundred
  // kilobytes: none for a call with little to do.
  Held* own = HolderOf(member);
  const uint32_t out = own != NULL ? static_cast<uint32_t>(own->decoded) : 0;
  const uint32_t end = member.start + member.size;
  const uint32_t callWork = member.size + (end > out ? end - out : 0);
  if (work && callWork >= kWorthAThread && progress_ != NULL)
    thread_ = CreateThread(NULL, 0, UnpackOnThread, this, 0, NULL);
}

// Only a frame begun already, unless the thread has the store open.
bool FrameAhead::Claim(Held& held, bool mayBegin) {
  if (!held.used || Load(held.whole) || Load(held.failed)) return false;
  if (InterlockedExchange(&held.claimed, 1) != 0) return false;
  if (held.begun || mayBegin) return true;
  Unclaim(held);
  return false;
}

// The earliest frame in the store that is not out yet and not being
// unpacked.
FrameAhead::Held* FrameAhead::ClaimNext(bool mayBegin) {
  Held* order[kFrames];
  int count = 0;
  for (Held& h : held_) {
    if (!h.used) continue;
    int at = count++;
    for (; at > 0 && order[at - 1]->frame.offset > h.frame.offset; --at) order[at] = order[at - 1];
    order[at] = &h;
  }
  for (int i = 0; i < count; ++i)
    if (Claim(*order[i], mayBegin)) return order[i];
  return NULL;
}

void FrameAhead::Unclaim(Held& held) {
  (void)InterlockedExchange(&held.claimed, 0);
  if (Load(waiting_) != 0) (void)SetEvent(progress_);
}

// One block; the first reads the packed frame and starts its decoder.
void FrameAhead::Unpack(StoreFile& store, Held& held) {
  if (!held.begun) {
    held.begun = true;
    if (held.packedRoom < held.frame.packedSize && held.frame.packedSize <= kLargest) {
      GiveBack(held.packed);
      held.packed = Allocate(held.frame.packedSize);
      held.packedRoom = held.packed != NULL ? held.frame.packedSize : 0;
    }
    if (held.packedRoom < held.frame.packedSize || !store.ReadFrame(held.frame, held.packed) ||
        held.decoder.Begin(held.packed, held.frame.packedSize, held.bytes, kLargest) != payload::Status::Ok) {
      (void)InterlockedExchange(&held.failed, 1);
      return;
    }
  }
  if (held.decoder.Step() != payload::Status::Ok) {
    (void)InterlockedExchange(&held.failed, 1);
    return;
  }
  (void)InterlockedExchange(&held.decoded, static_cast<LONG>(held.decoder.Decoded()));
  if (held.decoder.Whole()) (void)InterlockedExchange(&held.whole, 1);
}

DWORD WINAPI FrameAhead::UnpackOnThread(LPVOID parameter) {
  FrameAhead* self = static_cast<FrameAhead*>(parameter);
  // A handle of its own, as the calling thread reads the store at the same
  // time; opened only for a frame that is not begun yet.
  StoreFile store;
  const bool mayBegin =
      self->threadOpensStore_ && store.Open(self->module_) && SameStore(store.Identify(), self->from_);
  while (Load(self->stop_) == 0) {
    Held* held = self->ClaimNext(mayBegin);
    if (held == NULL) break;
    self->Unpack(store, *held);
    self->Unclaim(*held);
  }
  return 0;
}

const uint8_t* FrameAhead::Wait(StoreFile& store, const payload::Member& member) {
  Held* held = HolderOf(member);
  if (held == NULL) return NULL;
  const uint32_t end = member.start + member.size;
  for (;;) {
    if (Load(held->failed)) return NULL;
    if (static_cast<uint32_t>(Load(held->decoded)) >= end) return held->bytes + member.start;
    // Out whole, and short of the member's end.
    if (Load(held->whole)) return static_cast<uint32_t>(Load(held->decoded)) >= end ? held->bytes + member.start : NULL;
    Held* other = Claim(*held, true) ? held : ClaimNext(true);
    if (other != NULL) {
      Unpack(store, *other);
      Unclaim(*other);
      continue;
    }
    // The other thread has this frame: its next block lets it go.
    (void)InterlockedExchange(&waiting_, 1);
    if (Load(held->claimed) != 0) (void)WaitForSingleObject(progress_, INFINITE);
    (void)InterlockedExchange(&waiting_, 0);
  }
}

void FrameAhead::Stop() {
  if (thread_ == NULL) return;
  (void)InterlockedExchange(&stop_, 1);
  (void)WaitForSingleObject(thread_, INFINITE);
  (void)CloseHandle(thread_);
  thread_ = NULL;
  (void)InterlockedExchange(&stop_, 0);
}

void FrameAhead::Release() {
  for (Held& h : held_) {
    GiveBack(h.bytes);
    GiveBack(h.packed);
    h.decoder.Release();
    h.bytes = h.packed = NULL;
    h.packedRoom = 0;
    h.used = false;
  }
  if (progress_ != NULL) (void)CloseHandle(progress_);
  progress_ = NULL;
}
