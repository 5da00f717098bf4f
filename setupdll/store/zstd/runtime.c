/* What zstd's decoder needs of a C runtime in _SETUP.DLL (deps.h): the
   process heap, and a copy that moves four bytes at a time. */
#include <windows.h>

#include "deps.h"

void* CorvaneZstdCopy(void* to, const void* from, size_t length) {
  unsigned char* out = (unsigned char*)to;
  const unsigned char* in = (const unsigned char*)from;
  /* x86 reads and writes unaligned words at full speed. */
  for (; length >= 4; length -= 4, out += 4, in += 4) {
    DWORD word;
    __builtin_memcpy(&word, in, 4);
    __builtin_memcpy(out, &word, 4);
  }
  while (length--) *out++ = *in++;
  return to;
}

void* CorvaneZstdTake(size_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1); }

void* CorvaneZstdTakeZeroed(size_t count, size_t size) {
  if (size != 0 && count > (size_t)-1 / size) return NULL;
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * size ? count * size : 1);
}

void CorvaneZstdGive(void* block) {
  if (block != NULL) (void)HeapFree(GetProcessHeap(), 0, block);
}
