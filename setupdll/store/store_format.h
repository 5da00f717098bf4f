// Layout of the payload store _SETUP.PAK, the file beside _SETUP.DLL that
// carries the product files. All numbers are little-endian.
//
//   header     32 bytes
//     0  magic "CvPk"
//     4  u16 version (1)            6  u16 flags (0)
//     8  u32 member count          12  u32 directory size in bytes
//    16  u32 store size in bytes   20  u32 CRC-32 of the directory
//    24  u32 reserved (0)          28  u32 CRC-32 of header bytes 0..27
//   directory  right after the header, one entry per member, in install order
//     0  u32 data offset from the start of the store
//     4  u32 packed size           8  u32 size
//    12  u32 CRC-32 of the member's (unpacked) contents
//    16  u64 last-write time, a Windows FILETIME (0: not recorded)
//    24  u8  method (0 stored, 1 raw deflate)
//    25  u8  name length, then the name in code page 949, no terminator
//   member data, back to back, in directory order
//
// The store size in the header makes a truncated (or extended) store
// recognisable before any member is read.  A store is smaller than 2 GB:
// the support library seeks with SetFilePointer's signed 32-bit distance
// alone, so the whole store, and every member in it, must lie below 2^31.
#pragma once

#include <stdint.h>

namespace payload {

constexpr char kMagic[4] = {'C', 'v', 'P', 'k'};
constexpr uint16_t kVersion = 1;
constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kEntryFixedSize = 26;
constexpr uint32_t kMaxNameLength = 255;
constexpr uint32_t kMaxMembers = 32768;
constexpr uint32_t kMaxDirectorySize = kMaxMembers * (kEntryFixedSize + kMaxNameLength);
constexpr uint32_t kMaxStoreSize = 0x7FFFFFFF;

constexpr uint8_t kMethodStored = 0;
constexpr uint8_t kMethodDeflate = 1;

// The store file's name; it lies in the folder of the library that reads it.
constexpr char kStoreFileName[] = "_SETUP.PAK";

}  // namespace payload
