// Memory in the host build, where the platform-free logic runs under the
// sanitizers: malloc keeps every overrun and leak visible to them.
#include "memory.h"

#include <stdlib.h>

void* TakeMemory(size_t bytes) { return malloc(bytes ? bytes : 1); }
void* ResizeMemory(void* block, size_t bytes) { return realloc(block, bytes ? bytes : 1); }
void GiveMemory(void* block) { free(block); }
void OutOfMemory() { abort(); }
