// Payload stores written by the driver.
#include "payload_store.h"

#include <algorithm>

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
// Raw deflate made of stored blocks only: valid input for any inflater, so
// the library's unpacking path is taken without a compressor in the driver.
std::string StoredBlocks(const std::string& data) {
  std::string out;
  size_t at = 0;
  do {
    size_t n = std::min<size_t>(0xFFFF, data.size() - at);
    out.push_back(at + n == data.size() ? 1 : 0);  // BFINAL, BTYPE 00
    PutU16(&out, static_cast<uint32_t>(n));
    PutU16(&out, static_cast<uint32_t>(~n & 0xFFFF));
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
// independently of the library's own writer.
std::string PayloadStore(const std::vector<StoreMember>& members) {
  std::vector<std::string> packed;
  uint32_t directorySize = 0;
  for (const StoreMember& m : members) {
    packed.push_back(m.deflate ? StoredBlocks(m.contents) : m.contents);
    directorySize += 26 + static_cast<uint32_t>(m.name.size());
  }
  std::string directory, data;
  uint32_t offset = 32 + directorySize;
  for (size_t i = 0; i < members.size(); ++i) {
    PutU32(&directory, offset + static_cast<uint32_t>(data.size()));
    PutU32(&directory, static_cast<uint32_t>(packed[i].size()));
    PutU32(&directory, static_cast<uint32_t>(members[i].contents.size()));
    PutU32(&directory, Crc32(members[i].contents));
    PutU32(&directory, 0);  // no write time
    PutU32(&directory, 0);
    directory.push_back(members[i].deflate ? 1 : 0);
    directory.push_back(static_cast<char>(members[i].name.size()));
    directory += members[i].name;
    data += packed[i];
  }
  std::string header = "CvPk";
  PutU16(&header, 1);
  PutU16(&header, 0);
  PutU32(&header, static_cast<uint32_t>(members.size()));
  PutU32(&header, directorySize);
  PutU32(&header, offset + static_cast<uint32_t>(data.size()));
  PutU32(&header, Crc32(directory));
  PutU32(&header, 0);
  PutU32(&header, Crc32(header));
  return header + directory + data;
}

