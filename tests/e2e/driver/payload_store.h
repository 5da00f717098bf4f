// Payload stores for the support library, written by the driver itself as
// setupdll/store/store_format.h lays them out, independently of the
// library's own writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StoreMember {
  std::string name;  // code page 949
  std::string contents;
  bool deflate;
};

// The whole store file for these members.
std::string PayloadStore(const std::vector<StoreMember>& members);
// The little-endian 32-bit number at `at`.
uint32_t GetU32(const std::string& bytes, size_t at);
