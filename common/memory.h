// Memory for the programs' own text and lists: blocks from the process heap on
// Windows (from malloc in the host build), and the byte copies the compiler
// would otherwise take from a C runtime.
#pragma once
#include <stddef.h>

// A block of at least `bytes` bytes, or a null pointer when there is none.
void* TakeMemory(size_t bytes);
// The block grown or shrunk to `bytes`, its contents kept up to the smaller
// size; a null `block` is taken anew.  On failure the old block stays valid
// and the result is null.
void* ResizeMemory(void* block, size_t bytes);
// Gives a block back; a null pointer is ignored.
void GiveMemory(void* block);

// Ends the program: a text or list could not grow.  Never returns.
[[noreturn]] void OutOfMemory();

// Block copies; the compiler turns these into inline code or calls to the
// shipped programs' own memcpy, memmove, memset and memcmp.
inline void CopyBytes(void* to, const void* from, size_t n) { if (n) __builtin_memcpy(to, from, n); }
inline void MoveBytes(void* to, const void* from, size_t n) { if (n) __builtin_memmove(to, from, n); }
inline void FillBytes(void* to, int value, size_t n) { if (n) __builtin_memset(to, value, n); }
inline int CompareBytes(const void* a, const void* b, size_t n) { return n ? __builtin_memcmp(a, b, n) : 0; }
