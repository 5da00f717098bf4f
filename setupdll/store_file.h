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
  // directory; false for a missing, foreign, truncated or damaged store. A
  // store of another format or version is logged to the debugger, as the
  // reason the product files fail.
  bool Open(HMODULE module);

  bool Find(const char* name, payload::Member* member);

  // What tells this store file from another or a changed one: its size, its
  // directory's checksum and its last write time.
  struct Identity {
    DWORD size;
    uint32_t directoryCrc;
    FILETIME written;
  };
  Identity Identify() const;

  // The first members of member's zstd frame and of the zstd frames that
  // follow it, up to max of them; their count. Their names are not kept.
  int FramesFrom(const payload::Member& member, payload::Member* frames, int max);

  // Reads the packed bytes of frame (its first member) into into, which has
  // room for frame.packedSize bytes.
  bool ReadFrame(const payload::Member& frame, uint8_t* into);

  // Unpacks member into file (positioned at its start) through unpacker and
  // buffers, the next packed bytes read ahead into spare (buffers.inSize
  // bytes; NULL: none). True only when the whole member came out with its
  // checksum holding and every byte was written.
  bool ExtractTo(const payload::Member& member, HANDLE file, payload::Unpacker& unpacker,
                 const payload::Buffers& buffers, uint8_t* spare);

  // Writes member's bytes, unpacked before, into file; true when their
  // CRC-32 is the member's and every byte was written.
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
