// Payload stores written by the driver.
#include "payload_store.h"

#include <algorithm>
#include <functional>

namespace {

uint32_t Crc32(const std::string& bytes) {
  static uint32_t table[256];
  if (!table[1]) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  }
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutU16(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::string* out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
// A zstd frame made of raw blocks only: valid input for any zstd decoder, so
// the library's unpacking path is taken without a compressor in the driver.
// One segment (the window is the contents) with a 4-byte contents size.
std::string RawFrame(const std::string& data) {
  const size_t kLargestBlock = 128 * 1024;
  std::string out;
  PutU32(&out, 0xFD2FB528u);
  out.push_back(static_cast<char>(0xA0));
  PutU32(&out, static_cast<uint32_t>(data.size()));
  size_t at = 0;
  do {
    const size_t n = std::min(kLargestBlock, data.size() - at);
    const uint32_t last = at + n == data.size() ? 1 : 0;
    const uint32_t header = last | static_cast<uint32_t>(n) << 3;  // block type 0, raw
    out.push_back(static_cast<char>(header & 0xFF));
    out.push_back(static_cast<char>((header >> 8) & 0xFF));
    out.push_back(static_cast<char>((header >> 16) & 0xFF));
    out.append(data, at, n);
    at += n;
  } while (at < data.size());
  return out;
}

}  // namespace

uint32_t GetU32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

// A payload store as setupdll/store/store_format.h lays it out, written here
// independently of the library's own writer: a frame for each member.
std::string PayloadStore(const std::vector<StoreMember>& members) {
  std::vector<std::string> packed;
  uint32_t directorySize = 0;
  for (const StoreMember& m : members) {
    packed.push_back(m.packed ? RawFrame(m.contents) : m.contents);
    directorySize += 30 + static_cast<uint32_t>(m.name.size());
  }
  std::string directory, data;
  uint32_t offset = 32 + directorySize;
  for (size_t i = 0; i < members.size(); ++i) {
    PutU32(&directory, offset + static_cast<uint32_t>(data.size()));
    PutU32(&directory, static_cast<uint32_t>(packed[i].size()));
    PutU32(&directory, 0);  // the member starts its frame
    PutU32(&directory, static_cast<uint32_t>(members[i].contents.size()));
    PutU32(&directory, Crc32(members[i].contents));
    PutU32(&directory, 0);  // no write time
    PutU32(&directory, 0);
    directory.push_back(members[i].packed ? 1 : 0);
    directory.push_back(static_cast<char>(members[i].name.size()));
    directory += members[i].name;
    data += packed[i];
  }
  std::string header = "CvPk";
  PutU16(&header, 2);
  PutU16(&header, 0);
  PutU32(&header, static_cast<uint32_t>(members.size()));
  PutU32(&header, directorySize);
  PutU32(&header, offset + static_cast<uint32_t>(data.size()));
  PutU32(&header, Crc32(directory));
  header += "zstd";
  PutU32(&header, Crc32(header));
  return header + directory + data;
}

bool SpoilMemberChecksum(std::string* store, const std::function<bool(const std::string&)>& isMember) {
  if (store->size() < 32) return false;
  const uint32_t count = GetU32(*store, 8);
  const uint32_t directorySize = GetU32(*store, 12);
  if (store->size() < 32 + static_cast<size_t>(directorySize)) return false;
  size_t at = 32;
  for (uint32_t i = 0; i < count && at + 30 <= 32 + directorySize; ++i) {
    const size_t length = static_cast<unsigned char>((*store)[at + 29]);
    if (isMember(store->substr(at + 30, length))) {
      (*store)[at + 16] ^= 0x5A;
      std::string sums;
      PutU32(&sums, Crc32(store->substr(32, directorySize)));
      store->replace(20, 4, sums);
      sums.clear();
      PutU32(&sums, Crc32(store->substr(0, 28)));
      store->replace(28, 4, sums);
      return true;
    }
    at += 30 + length;
  }
  return false;
}
