// Layout of the payload store _SETUP.PAK, the file beside _SETUP.DLL that
// carries the product files. All numbers are little-endian.
//
//   header     32 bytes
//     0  magic "CvPk"
//     4  u16 version (2)            6  u16 flags (0)
//     8  u32 member count          12  u32 directory size in bytes
//    16  u32 store size in bytes   20  u32 CRC-32 of the directory
//    24  format "zstd"             28  u32 CRC-32 of header bytes 0..27
//   directory  right after the header, one entry per member, in install order
//     0  u32 frame offset from the start of the store
//     4  u32 frame size in bytes (packed)
//     8  u32 where the member starts in the frame's unpacked contents
//    12  u32 size
//    16  u32 CRC-32 of the member's (unpacked) contents
//    20  u64 last-write time, a Windows FILETIME (0: not recorded)
//    28  u8  method (0 stored, 1 zstd)
//    29  u8  name length, then the name in code page 949, no terminator
//   frames, back to back, in directory order
//
// A zstd frame holds one member or several members that follow each other in
// the directory, their contents back to back; such members share their frame
// offset and size and differ in their start. A stored member is its frame:
// start 0, frame size equal to its size. Every frame can be unpacked on its
// own, so any member is reached by unpacking its frame from the frame's
// start, and two frames can be unpacked at once. A frame's window is at most
// kMaxWindow bytes, which bounds the decoder's memory.
//
// Magic, version and format together name the format: a store that differs
// in any of them is another format and is not read. The store size in the
// header makes a truncated (or extended) store recognisable before any
// member is read. A store is smaller than 2 GB: the support library seeks
// with SetFilePointer's signed 32-bit distance alone, so the whole store, and
// every member in it, must lie below 2^31.
#pragma once

#include <stdint.h>

namespace payload {

constexpr char kMagic[4] = {'C', 'v', 'P', 'k'};
constexpr uint16_t kVersion = 2;
constexpr char kFormat[4] = {'z', 's', 't', 'd'};
constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kEntryFixedSize = 30;
constexpr uint32_t kMaxNameLength = 255;
constexpr uint32_t kMaxMembers = 32768;
constexpr uint32_t kMaxDirectorySize = kMaxMembers * (kEntryFixedSize + kMaxNameLength);
constexpr uint32_t kMaxStoreSize = 0x7FFFFFFF;
// The largest window a frame may ask of the decoder, as a power of two.
constexpr int kMaxWindowLog = 22;
constexpr uint32_t kMaxWindow = uint32_t{1} << kMaxWindowLog;

constexpr uint8_t kMethodStored = 0;
constexpr uint8_t kMethodZstd = 1;

// The store file's name; it lies in the folder of the library that reads it.
constexpr char kStoreFileName[] = "_SETUP.PAK";

}  // namespace payload
