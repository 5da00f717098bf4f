// Making test-infected samples from clean files, for the tests, the sample
// tool and the benchmarks (nothing here spreads: each function only returns
// bytes), and files in memory for the engine to read and write.  Not part of
// the engine library itself.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "byte_io.h"

// The EICAR test file: the test string, then `trailingSpace` (white space
// only, for a valid test file).
std::string MakeEicarFile(const std::string& trailingSpace = std::string());
// The original with one more test infection (formats.h).
std::string InfectCloak(const std::string& original);
std::string InfectMender(const std::string& original);
std::string InfectSmear(const std::string& original);
std::string InfectMorph(const std::string& original);
std::string InfectInert(const std::string& original);

class MemoryReader : public ByteReader {
 public:
  MemoryReader(const void* data, size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  explicit MemoryReader(const std::string& bytes) : MemoryReader(bytes.data(), bytes.size()) {}

  bool Seek(uint64_t offset) override {
    if (offset > size_) return false;
    at_ = static_cast<size_t>(offset);
    return true;
  }
  long Read(void* buffer, size_t size) override {
    size_t n = size < size_ - at_ ? size : size_ - at_;
    if (n) std::memcpy(buffer, data_ + at_, n);
    at_ += n;
    return static_cast<long>(n);
  }

 private:
  const unsigned char* data_;
  size_t size_;
  size_t at_ = 0;
};

class StringWriter : public ByteWriter {
 public:
  bool Write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), size);
    return true;
  }
  std::string bytes;
};
