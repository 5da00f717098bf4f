/* Forced in front of every file of zstd's decoder in _SETUP.DLL, in place of
   what zstd's lib/common/zstd_deps.h takes from a C runtime: the library has
   none, so memory comes from the process heap and copies of a length known
   only at run time go to a word-wise copy (the runtime's memcpy is a byte
   loop, which would make the decoder several times slower). Copies of a
   fixed length stay the compiler's inline code. */
#ifndef CORVANE_ZSTD_DEPS_H
#define CORVANE_ZSTD_DEPS_H

#include <limits.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif
void* CorvaneZstdCopy(void* to, const void* from, size_t length);
void* CorvaneZstdTake(size_t bytes);
void* CorvaneZstdTakeZeroed(size_t count, size_t size);
void CorvaneZstdGive(void* block);
#ifdef __cplusplus
}
#endif

#define ZSTD_DEPS_COMMON
#define ZSTD_memcpy(d, s, l) \
  (__builtin_constant_p(l) ? __builtin_memcpy((d), (s), (l)) : CorvaneZstdCopy((d), (s), (l)))
#define ZSTD_memmove(d, s, l) __builtin_memmove((d), (s), (l))
#define ZSTD_memset(p, v, l) __builtin_memset((p), (v), (l))

#define ZSTD_DEPS_MALLOC
#define ZSTD_malloc(s) CorvaneZstdTake(s)
#define ZSTD_calloc(n, s) CorvaneZstdTakeZeroed((n), (s))
#define ZSTD_free(p) CorvaneZstdGive(p)

#define ZSTD_DEPS_MATH64
#define ZSTD_div64(dividend, divisor) ((dividend) / (divisor))

#endif
