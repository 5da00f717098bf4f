// Writing a repaired file: what a repairable infection saved of the original,
// how to copy it back, and the check that the copy is the original.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "byte_io.h"

constexpr size_t kMaxSavedHead = 32;

// The original file is `head`, then `copyLength` bytes of the infected file
// from `copyFrom`; `crc` is the CRC-32 of the whole original.
struct RepairPlan {
  unsigned char head[kMaxSavedHead];
  size_t headSize;
  uint64_t copyFrom;
  uint64_t copyLength;
  uint32_t crc;

  uint64_t Size() const { return headSize + copyLength; }
};

// CRC-32 (the zip/PNG polynomial), continued from `crc`; 0 starts afresh.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// Writes the original described by `plan` from the infected file `in` to `out`,
// through `buffer`.  False when the infected file is short, a write fails, or
// what was written is not the original (its CRC differs); the caller then
// throws the output away.
bool WriteRepaired(const RepairPlan& plan, ByteReader& in, ByteWriter& out,
                   unsigned char* buffer, size_t bufferSize);
