// The payload store beside the support library, read through a file handle.
#pragma once

#include <windows.h>

#include "store_reader.h"

class StoreFile {
 public:
  StoreFile();
  ~StoreFile();
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  // Opens _SETUP.PAK in the folder of module and checks its header and
  // directory; false for a missing, foreign, truncated or damaged store.
  bool Open(HMODULE module);

  bool Find(const char* name, payload::Member* member);

  // As Find, and the members that follow it in the store, up to max of them
  // (their count in *count). Their names are not kept.
  bool FindWithFollowing(const char* name, payload::Member* member, payload::Member* following, int max,
                         int* count);

  // The CRC-32 of member's packed bytes, read through buffers.in.
  bool PackedCrc(const payload::Member& member, const payload::Buffers& buffers, uint32_t* crc);

  // Unpacks member into out (member.size bytes), reading through
  // buffers.in. True only when the whole member came out with its checksum
  // holding; *packedCrc is then the CRC-32 of the packed bytes it came from.
  bool ExtractToMemory(const payload::Member& member, uint8_t* out, const payload::Buffers& buffers,
                       uint32_t* packedCrc);

  // Unpacks member into file (positioned at its start) through buffers.
  // True only when the whole member came out with its checksum holding and
  // every byte was written.
  bool ExtractTo(const payload::Member& member, HANDLE file, const payload::Buffers& buffers);

  // Writes member's bytes, unpacked before, into file; true when every byte
  // was written.
  static bool WriteUnpacked(const payload::Member& member, const uint8_t* bytes, HANDLE file);

  // Gives file the member's last write time, as the product's files had it.
  static void GiveRecordedTime(const payload::Member& member, HANDLE file);

 private:
  class Source;

  HANDLE file_;
  DWORD size_;
  DWORD position_;
  payload::Header header_;
  uint8_t* directory_;

  bool Read(DWORD offset, void* buffer, DWORD length);
};
