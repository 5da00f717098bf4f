// Building a payload store: the medium builder packs the product files with
// it, and the tests make stores of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace payload {

class StoreWriter {
 public:
  // level: 0 stores every member, 1 to 9 deflate as zlib's levels do, and 9
  // takes the strongest deflate the build has.
  explicit StoreWriter(int level = 9);

  // Packs one member. False, with Error() telling why, for a name that is
  // not a plain file name, a name already in the store (in any letter case),
  // too many members, a member over 4 GB, or a store that would pass
  // kMaxStoreSize.
  bool Add(const std::string& name, const uint8_t* data, size_t size, uint64_t writeTime = 0);

  // The whole store, header first.
  std::vector<uint8_t> Finish() const;

  const std::string& Error() const { return error_; }
  size_t MemberCount() const { return members_.size(); }

 private:
  struct Packed {
    std::string name;
    uint32_t size;
    uint32_t crc;
    uint64_t writeTime;
    uint8_t method;
    std::vector<uint8_t> bytes;
  };

  int level_;
  std::vector<Packed> members_;
  uint64_t directorySize_ = 0;
  uint64_t dataSize_ = 0;
  std::string error_;
};

// Raw deflate of data at the given level; empty when the compressor fails.
std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size, int level);

}  // namespace payload
