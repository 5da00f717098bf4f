// Payload stores for the support library, written by the driver itself as
// setupdll/store/store_format.h lays them out, independently of the
// library's own writer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct StoreMember {
  std::string name;  // code page 949
  std::string contents;
  bool packed;  // in a zstd frame, else stored
};

// The whole store file for these members.
std::string PayloadStore(const std::vector<StoreMember>& members);
// Changes the contents checksum that the directory records for the first
// member whose name isMember accepts, and seals header and directory again:
// the member's bytes unpack as they are and fail only that check. False when
// no member is accepted.
bool SpoilMemberChecksum(std::string* store, const std::function<bool(const std::string&)>& isMember);
// The little-endian 32-bit number at `at`.
uint32_t GetU32(const std::string& bytes, size_t at);
