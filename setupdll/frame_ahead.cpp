// Frames unpacked whole into memory ahead of the calls that ask for their
// members, two at once.
#include "frame_ahead.h"
#include "store_format.h"

namespace {

const DWORD kInSize = 256 * 1024;

uint8_t* Allocate(DWORD size) { return static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, size)); }

void GiveBack(void* p) {
  if (p != NULL) (void)HeapFree(GetProcessHeap(), 0, p);
}

bool SameFrame(const payload::Member& a, const payload::Member& b) {
  return a.method == payload::kMethodZstd && b.method == payload::kMethodZstd && a.offset == b.offset &&
         a.packedSize == b.packedSize;
}

typedef BOOL(WINAPI* AffinityFunction)(HANDLE, PDWORD_PTR, PDWORD_PTR);

}  // namespace

FrameAhead::FrameAhead() : held_(), from_(), module_(NULL) {}

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

const uint8_t* FrameAhead::Take(const StoreFile& store, const payload::Member& member) const {
  const StoreFile::Identity now = store.Identify();
  if (now.size != from_.size || now.directoryCrc != from_.directoryCrc ||
      CompareFileTime(&now.written, &from_.written) != 0) {
    return NULL;
  }
  for (const Held& h : held_) {
    if (h.whole && SameFrame(h.frame, member) && member.start <= h.size && member.size <= h.size - member.start) {
      return h.bytes + member.start;
    }
  }
  return NULL;
}

bool FrameAhead::HaveMemory(Held& held) {
  if (held.in == NULL) held.in = Allocate(kInSize);
  if (held.bytes == NULL) {
    held.bytes = Allocate(kLargest);
    held.capacity = held.bytes != NULL ? kLargest : 0;
  }
  return held.in != NULL && held.bytes != NULL;
}

void FrameAhead::Unpack(StoreFile& store, Held& held) {
  const payload::Buffers buffers = {held.in, kInSize, NULL, 0};
  held.whole = store.ExtractFrame(held.frame, held.unpacker, held.bytes, held.capacity, &held.size, buffers);
}

DWORD WINAPI FrameAhead::UnpackOnThread(LPVOID parameter) {
  FrameAhead* self = static_cast<FrameAhead*>(parameter);
  // A handle of its own: the calling thread reads the store at the same time.
  StoreFile store;
  if (store.Open(self->module_)) Unpack(store, self->held_[0]);
  return 0;
}

void FrameAhead::Fill(HMODULE module, StoreFile& store, const payload::Member* frames, int count) {
  if (count > kFrames) count = kFrames;
  for (Held& h : held_) h.whole = false;
  for (int i = 0; i < count; ++i) {
    if (!HaveMemory(held_[i])) return;
    held_[i].frame = frames[i];
  }
  module_ = module;
  from_ = store.Identify();
  HANDLE thread = count > 1 ? CreateThread(NULL, 0, UnpackOnThread, this, 0, NULL) : NULL;
  for (int i = thread != NULL ? 1 : 0; i < count; ++i) Unpack(store, held_[i]);
  if (thread != NULL) {
    (void)WaitForSingleObject(thread, INFINITE);
    (void)CloseHandle(thread);
  }
  // The decoders' memory goes; the frames' stays for the next batches.
  for (Held& h : held_) h.unpacker.Release();
}

void FrameAhead::Release() {
  for (Held& h : held_) {
    h.whole = false;
    GiveBack(h.bytes);
    GiveBack(h.in);
    h.bytes = NULL;
    h.in = NULL;
    h.unpacker.Release();
  }
}
