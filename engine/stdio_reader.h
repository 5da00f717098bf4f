// A ByteReader over a C stdio file, for the host tools and benchmarks that
// scan files on disk without the library's Win32 file handles.
#pragma once
#include <cstdio>

#include "engine/byte_io.h"

class StdioReader final : public ByteReader {
 public:
  explicit StdioReader(FILE* file) : file_(file) {}
  bool Seek(uint64_t offset) override { return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0; }
  long Read(void* buffer, size_t size) override {
    size_t n = std::fread(buffer, 1, size, file_);
    return std::ferror(file_) ? -1 : static_cast<long>(n);
  }

 private:
  FILE* file_;
};
