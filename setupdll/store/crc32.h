// CRC-32 as zlib, PKZIP and PNG compute it (the reflected polynomial
// 0xEDB88320), the checksum of the store's header, directory and members.
// The store has its own rather than zlib's: the prebuilt zlib of the cross
// toolchain uses instructions that the Pentiums of Windows 95's day lack.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace payload {

// The CRC-32 of what came before (0 before the first byte) followed by
// length bytes of data.
uint32_t Crc32(uint32_t crc, const void* data, size_t length);

}  // namespace payload
