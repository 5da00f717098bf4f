// Building a payload store.
#include "store_writer.h"

#include <zlib.h>

#include <cstring>

#include "names.h"
#include "store_format.h"

namespace payload {
namespace {

void put_u16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void put_u64(std::vector<uint8_t>& out, uint64_t v) {
  put_u32(out, static_cast<uint32_t>(v));
  put_u32(out, static_cast<uint32_t>(v >> 32));
}

uint32_t crc_of(const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // crc32 takes a uInt length; feed large inputs in pieces.
  while (size > 0) {
    const uInt chunk = size > (1u << 30) ? (1u << 30) : static_cast<uInt>(size);
    crc = crc32(crc, data, chunk);
    data += chunk;
    size -= chunk;
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace

std::vector<uint8_t> deflate_raw(const uint8_t* data, size_t size, int level) {
  z_stream stream;
  std::memset(&stream, 0, sizeof stream);
  if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(size)));
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int z = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (z != Z_STREAM_END) return {};
  return out;
}

StoreWriter::StoreWriter(int level) : level_(level) {}

bool StoreWriter::add(const std::string& name, const uint8_t* data, size_t size, uint64_t write_time) {
  if (name.find('\0') != std::string::npos || !is_plain_file_name(name.c_str())) {
    error_ = "not a plain file name: " + name;
    return false;
  }
  for (const Packed& m : members_) {
    if (names_equal(m.name.data(), m.name.size(), name.data(), name.size())) {
      error_ = "two members named " + name;
      return false;
    }
  }
  if (members_.size() >= kMaxMembers) {
    error_ = "more than " + std::to_string(kMaxMembers) + " members";
    return false;
  }
  if (size > UINT32_MAX) {
    error_ = name + " is larger than 4 GB";
    return false;
  }
  Packed m;
  m.name = name;
  m.size = static_cast<uint32_t>(size);
  m.write_time = write_time;
  m.bytes = level_ > 0 && size > 0 ? deflate_raw(data, size, level_) : std::vector<uint8_t>();
  const bool deflated = !m.bytes.empty() && m.bytes.size() < size;
  const uint64_t packed_size = deflated ? m.bytes.size() : size;
  const uint64_t entry_size = kEntryFixedSize + name.size();
  // Checked before a stored member is copied: a member too large for the
  // store costs no memory.
  if (kHeaderSize + directory_size_ + entry_size + data_size_ + packed_size > kMaxStoreSize) {
    error_ = "the store would reach 2 GB with " + name + ", more than _SETUP.DLL can read";
    return false;
  }
  m.method = deflated ? kMethodDeflate : kMethodStored;
  if (!deflated) m.bytes.assign(data, data + size);
  m.crc = crc_of(data, size);
  directory_size_ += entry_size;
  data_size_ += m.bytes.size();
  members_.push_back(std::move(m));
  return true;
}

std::vector<uint8_t> StoreWriter::finish() const {
  std::vector<uint8_t> directory;
  directory.reserve(directory_size_);
  uint32_t offset = static_cast<uint32_t>(kHeaderSize + directory_size_);
  for (const Packed& m : members_) {
    put_u32(directory, offset);
    put_u32(directory, static_cast<uint32_t>(m.bytes.size()));
    put_u32(directory, m.size);
    put_u32(directory, m.crc);
    put_u64(directory, m.write_time);
    directory.push_back(m.method);
    directory.push_back(static_cast<uint8_t>(m.name.size()));
    directory.insert(directory.end(), m.name.begin(), m.name.end());
    offset += static_cast<uint32_t>(m.bytes.size());
  }

  std::vector<uint8_t> store;
  store.reserve(kHeaderSize + directory_size_ + data_size_);
  store.insert(store.end(), kMagic, kMagic + sizeof kMagic);
  put_u16(store, kVersion);
  put_u16(store, 0);
  put_u32(store, static_cast<uint32_t>(members_.size()));
  put_u32(store, static_cast<uint32_t>(directory.size()));
  put_u32(store, static_cast<uint32_t>(kHeaderSize + directory_size_ + data_size_));
  put_u32(store, crc_of(directory.data(), directory.size()));
  put_u32(store, 0);
  put_u32(store, crc_of(store.data(), store.size()));
  store.insert(store.end(), directory.begin(), directory.end());
  for (const Packed& m : members_) store.insert(store.end(), m.bytes.begin(), m.bytes.end());
  return store;
}

}  // namespace payload
