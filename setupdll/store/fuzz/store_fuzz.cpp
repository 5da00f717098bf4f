// Any bytes as a payload store: whatever the header, directory and frames
// hold, the reader reads nothing outside the store, gives no member more
// bytes than its size, and gives the same verdict and bytes for a member
// whether its frame is started afresh or gone on with from the member before,
// or unpacked whole into memory a block at a time.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "store_format.h"
#include "store_reader.h"

namespace {

void Require(bool holds) {
  if (!holds) abort();
}

class BytesSource : public payload::Source {
 public:
  BytesSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Read(uint32_t offset, void* buffer, uint32_t length) override {
    if (offset > size_ || length > size_ - offset) return false;
    memcpy(buffer, data_ + offset, length);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

class CollectingSink : public payload::Sink {
 public:
  bool Write(const void* data, uint32_t length) override {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + length);
    return true;
  }
  std::vector<uint8_t> bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < payload::kHeaderSize || size > 1 << 20) return 0;
  payload::Header header;
  if (payload::ParseHeader(data, static_cast<uint32_t>(size), &header) != payload::Status::Ok) return 0;
  const uint8_t* directory = data + payload::kHeaderSize;
  if (payload::CheckDirectory(header, directory) != payload::Status::Ok) return 0;

  // Small buffers: frames cross many refills.
  uint8_t in[61], out[97];
  const payload::Buffers buffers{in, sizeof in, out, sizeof out};
  BytesSource source(data, size);
  payload::Unpacker inOrder;
  payload::DirectoryCursor cursor(header, directory);
  payload::Member m;
  for (int count = 0; cursor.Next(&m) && count < 64; ++count) {
    // Members claiming more than the whole input could hold take too long.
    if (m.size > (1u << 22)) continue;
    CollectingSink following, fresh;
    const payload::Status went = inOrder.Extract(source, m, following, buffers);
    payload::Unpacker alone;
    const payload::Status started = alone.Extract(source, m, fresh, buffers);
    Require(following.bytes.size() <= m.size && fresh.bytes.size() <= m.size);
    Require(went == started);
    if (went == payload::Status::Ok) Require(following.bytes == fresh.bytes && fresh.bytes.size() == m.size);
    // The whole frame in memory, a block at a time, as two processors unpack
    // it: never past its room, and the member's bytes as the unpacker gave
    // them.
    if (m.method != payload::kMethodZstd || m.offset > size || m.packedSize > size - m.offset) continue;
    std::vector<uint8_t> room(1 << 20);
    payload::FrameDecoder frame;
    payload::Status step = frame.Begin(data + m.offset, m.packedSize, room.data(), static_cast<uint32_t>(room.size()));
    while (step == payload::Status::Ok && !frame.Whole()) step = frame.Step();
    Require(frame.Decoded() <= frame.ContentSize() && frame.ContentSize() <= room.size());
    if (went == payload::Status::Ok && m.size > 0 && frame.Decoded() >= m.start + m.size)
      Require(memcmp(room.data() + m.start, fresh.bytes.data(), m.size) == 0);
  }
  return 0;
}
