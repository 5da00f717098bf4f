// What GCC calls on its own in code without a C or C++ runtime: block copies
// and fills (for structure copies and zeroing), the global new and delete
// (on the process heap), and the handler of a call to a pure virtual
// function.
#include <stddef.h>

#include "common/memory.h"
#include "runtime/byte_loops.h"

extern "C" {

void* memcpy(void* to, const void* from, size_t n) { return byte_loops::Copy(to, from, n); }
void* memmove(void* to, const void* from, size_t n) { return byte_loops::Move(to, from, n); }
void* memset(void* to, int value, size_t n) { return byte_loops::Fill(to, value, n); }
int memcmp(const void* a, const void* b, size_t n) { return byte_loops::Compare(a, b, n); }
size_t strlen(const char* text) { return byte_loops::Length(text); }

// Only a fault of the program itself calls a pure virtual function.
void __cxa_pure_virtual() { __builtin_trap(); }

}  // extern "C"

void* operator new(size_t bytes) {
  void* block = TakeMemory(bytes);
  if (!block) OutOfMemory();
  return block;
}
void* operator new[](size_t bytes) { return operator new(bytes); }
void operator delete(void* block) noexcept { GiveMemory(block); }
void operator delete[](void* block) noexcept { GiveMemory(block); }
void operator delete(void* block, size_t) noexcept { GiveMemory(block); }
void operator delete[](void* block, size_t) noexcept { GiveMemory(block); }
