// The engine's view of a file: a reader and a writer, which the library backs
// with Win32 file handles and the tests and tools back with memory.
#pragma once
#include <stddef.h>
#include <stdint.h>

class ByteReader {
 public:
  // Moves to `offset` from the start; false when it cannot.
  virtual bool Seek(uint64_t offset) = 0;
  // Up to `size` bytes: their count, 0 at the end, -1 on a read error.
  virtual long Read(void* buffer, size_t size) = 0;

 protected:
  ~ByteReader() = default;
};

class ByteWriter {
 public:
  virtual bool Write(const void* data, size_t size) = 0;

 protected:
  ~ByteWriter() = default;
};
