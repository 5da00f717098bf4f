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

  // Unpacks member into file (positioned at its start) through unpacker and
  // buffers, the next packed bytes read ahead into spare (buffers.inSize
  // bytes; NULL: none). True only when the whole member came out with its
  // checksum holding and every byte was written.
  bool ExtractTo(const payload::Member& member, HANDLE file, payload::Unpacker& unpacker,
                 const payload::Buffers& buffers, uint8_t* spare);

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
