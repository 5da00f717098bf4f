// Memory on Windows: the process heap, which every Windows 95 has without a
// C runtime.
#include "memory.h"

#include <windows.h>

void* TakeMemory(size_t bytes) { return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1); }

void* ResizeMemory(void* block, size_t bytes) {
  // HeapReAlloc does not take a null block.
  if (!block) return TakeMemory(bytes);
  return HeapReAlloc(GetProcessHeap(), 0, block, bytes ? bytes : 1);
}

void GiveMemory(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

void OutOfMemory() { ExitProcess(ERROR_NOT_ENOUGH_MEMORY); }
