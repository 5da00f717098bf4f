// Building a payload store.
#include "store_writer.h"

#include <zlib.h>

#include <cstring>

#ifdef CORVANE_STORE_LIBDEFLATE
#include <libdeflate.h>
#endif

#include "names.h"
#include "store_format.h"

namespace payload {
namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutU64(std::vector<uint8_t>& out, uint64_t v) {
  PutU32(out, static_cast<uint32_t>(v));
  PutU32(out, static_cast<uint32_t>(v >> 32));
}

uint32_t CrcOf(const uint8_t* data, size_t size) {
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

#ifdef CORVANE_STORE_LIBDEFLATE
// libdeflate's levels 10 to 12 search for the shortest encoding instead of
// taking zlib's first good match: the same raw deflate, some 5% smaller on
// program files, for any inflate to read.
std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size, int level) {
  constexpr int kStrongestLevel = 12;
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(level >= 9 ? kStrongestLevel : level);
  if (compressor == nullptr) return {};
  std::vector<uint8_t> out(libdeflate_deflate_compress_bound(compressor, size));
  const size_t packed = libdeflate_deflate_compress(compressor, data, size, out.data(), out.size());
  libdeflate_free_compressor(compressor);
  if (packed == 0) return {};
  out.resize(packed);
  return out;
}
#else
std::vector<uint8_t> DeflateRaw(const uint8_t* data, size_t size, int level) {
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
#endif

StoreWriter::StoreWriter(int level) : level_(level) {}

bool StoreWriter::Add(const std::string& name, const uint8_t* data, size_t size, uint64_t writeTime) {
  if (name.find('\0') != std::string::npos || !IsPlainFileName(name.c_str())) {
    error_ = "not a plain file name: " + name;
    return false;
  }
  for (const Packed& m : members_) {
    if (NamesEqual(m.name.data(), m.name.size(), name.data(), name.size())) {
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
  m.writeTime = writeTime;
  m.bytes = level_ > 0 && size > 0 ? DeflateRaw(data, size, level_) : std::vector<uint8_t>();
  const bool deflated = !m.bytes.empty() && m.bytes.size() < size;
  const uint64_t packedSize = deflated ? m.bytes.size() : size;
  const uint64_t entrySize = kEntryFixedSize + name.size();
  // Checked before a stored member is copied: a member too large for the
  // store costs no memory.
  if (kHeaderSize + directorySize_ + entrySize + dataSize_ + packedSize > kMaxStoreSize) {
    error_ = "the store would reach 2 GB with " + name + ", more than _SETUP.DLL can read";
    return false;
  }
  m.method = deflated ? kMethodDeflate : kMethodStored;
  if (!deflated) m.bytes.assign(data, data + size);
  m.crc = CrcOf(data, size);
  directorySize_ += entrySize;
  dataSize_ += m.bytes.size();
  members_.push_back(std::move(m));
  return true;
}

std::vector<uint8_t> StoreWriter::Finish() const {
  std::vector<uint8_t> directory;
  directory.reserve(directorySize_);
  uint32_t offset = static_cast<uint32_t>(kHeaderSize + directorySize_);
  for (const Packed& m : members_) {
    PutU32(directory, offset);
    PutU32(directory, static_cast<uint32_t>(m.bytes.size()));
    PutU32(directory, m.size);
    PutU32(directory, m.crc);
    PutU64(directory, m.writeTime);
    directory.push_back(m.method);
    directory.push_back(static_cast<uint8_t>(m.name.size()));
    directory.insert(directory.end(), m.name.begin(), m.name.end());
    offset += static_cast<uint32_t>(m.bytes.size());
  }

  std::vector<uint8_t> store;
  store.reserve(kHeaderSize + directorySize_ + dataSize_);
  store.insert(store.end(), kMagic, kMagic + sizeof kMagic);
  PutU16(store, kVersion);
  PutU16(store, 0);
  PutU32(store, static_cast<uint32_t>(members_.size()));
  PutU32(store, static_cast<uint32_t>(directory.size()));
  PutU32(store, static_cast<uint32_t>(kHeaderSize + directorySize_ + dataSize_));
  PutU32(store, CrcOf(directory.data(), directory.size()));
  PutU32(store, 0);
  PutU32(store, CrcOf(store.data(), store.size()));
  store.insert(store.end(), directory.begin(), directory.end());
  for (const Packed& m : members_) store.insert(store.end(), m.bytes.begin(), m.bytes.end());
  return store;
}

}  // namespace payload
