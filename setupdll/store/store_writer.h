// Building a payload store: the medium builder packs the product files with
// it, and the tests make stores of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace payload {

struct PackOptions {
  // 0 stores every member; 1 to 22 are zstd's levels.
  int level = 19;
  // Members that follow each other share a frame while its unpacked contents
  // stay within this many bytes (a larger member has a frame of its own);
  // 0 gives every member a frame of its own.
  uint32_t frameSize = 0;
  // At most kMaxWindowLog.
  int windowLog = 22;
  // Threads that compress frames at once; the store is the same for any
  // count.
  int threads = 1;
};

// How far Finish has come, after every frame.
struct PackProgress {
  size_t members = 0;  // in the frames done
  size_t totalMembers = 0;
  uint64_t bytesIn = 0;
  uint64_t totalBytesIn = 0;
  uint64_t bytesOut = 0;
};

class StoreWriter {
 public:
  explicit StoreWriter(int level = 19);
  explicit StoreWriter(const PackOptions& options);

  // Takes one member. False, with Error() telling why, for a name that is
  // not a plain file name, a name already in the store (in any letter case),
  // too many members, a member over 4 GB, or (when storing) a store that
  // would pass kMaxStoreSize.
  bool Add(const std::string& name, const uint8_t* data, size_t size, uint64_t writeTime = 0);

  // Packs the members and gives the whole store, header first; empty, with
  // Error() telling why, when the compressor fails or the store would pass
  // kMaxStoreSize. progress, when given, is called from the packing threads,
  // one call at a time.
  std::vector<uint8_t> Finish(const std::function<void(const PackProgress&)>& progress = nullptr);

  const std::string& Error() const { return error_; }
  size_t MemberCount() const { return members_.size(); }

 private:
  struct Member {
    std::string name;
    std::vector<uint8_t> data;
    uint32_t crc;
    uint64_t writeTime;
  };
  // Members [first, first + count) and what they packed into; empty bytes
  // when they are stored.
  struct Frame {
    size_t first;
    size_t count;
    std::vector<uint8_t> bytes;
  };

  std::vector<Frame> PlanFrames() const;
  bool Pack(Frame& frame) const;

  PackOptions options_;
  std::vector<Member> members_;
  uint64_t directorySize_ = 0;
  uint64_t dataSize_ = 0;
  std::string error_;
};

}  // namespace payload
