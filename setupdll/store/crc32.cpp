// CRC-32, sixteen bytes a step: sixteen tables, each the one before it moved
// on by a byte, made by the compiler (16 KB; eight bytes a step ran at half
// zlib's speed, sixteen at nearly all of it).
#include "crc32.h"

namespace payload {
namespace {

struct Tables {
  uint32_t byte[16][256];
};

constexpr Tables MakeTables() {
  Tables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t.byte[0][i] = c;
  }
  for (int s = 1; s < 16; ++s)
    for (uint32_t i = 0; i < 256; ++i) t.byte[s][i] = (t.byte[s - 1][i] >> 8) ^ t.byte[0][t.byte[s - 1][i] & 0xFF];
  return t;
}

constexpr Tables kTables = MakeTables();

uint32_t LittleEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// A word's four bytes through the tables of positions from its first byte's
// `last` down.
uint32_t Word(uint32_t w, int last) {
  const auto& t = kTables.byte;
  return t[last][w & 0xFF] ^ t[last - 1][(w >> 8) & 0xFF] ^ t[last - 2][(w >> 16) & 0xFF] ^ t[last - 3][w >> 24];
}

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t length) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (; length >= 16; p += 16, length -= 16) {
    crc = Word(crc ^ LittleEndian32(p), 15) ^ Word(LittleEndian32(p + 4), 11) ^ Word(LittleEndian32(p + 8), 7) ^
          Word(LittleEndian32(p + 12), 3);
  }
  for (; length > 0; ++p, --length) crc = kTables.byte[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace payload
