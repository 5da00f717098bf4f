// zlib's own default allocators, which the static zlib's inflate names but,
// with the store reader's allocator hooks set, never calls.  Defined here so
// that the linker does not take zlib's, which call malloc and free from a C
// runtime the library does not have.
#include <stddef.h>

#include "common/memory.h"

extern "C" void* zcalloc(void*, unsigned items, unsigned size) {
  if (size != 0 && items > static_cast<unsigned>(-1) / size) return nullptr;
  return TakeMemory(static_cast<size_t>(items) * size);
}

extern "C" void zcfree(void*, void* block) { GiveMemory(block); }
