// Copying back a repairable infection's original, checked by CRC-32.
#include "repair.h"

namespace {

struct CrcTable {
  uint32_t entry[256];
  constexpr CrcTable() : entry() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entry[n] = c;
    }
  }
};
constexpr CrcTable kCrcTable;

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = kCrcTable.entry[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

bool WriteRepaired(const RepairPlan& plan, ByteReader& in, ByteWriter& out,
                   unsigned char* buffer, size_t bufferSize) {
  if (plan.headSize > kMaxSavedHead) return false;
  uint32_t crc = Crc32(0, plan.head, plan.headSize);
  if (plan.headSize && !out.Write(plan.head, plan.headSize)) return false;
  if (!in.Seek(plan.copyFrom)) return false;
  uint64_t left = plan.copyLength;
  while (left > 0) {
    size_t want = left < bufferSize ? static_cast<size_t>(left) : bufferSize;
    long got = in.Read(buffer, want);
    if (got <= 0 || static_cast<size_t>(got) > want) return false;
    size_t n = static_cast<size_t>(got);
    crc = Crc32(crc, buffer, n);
    if (!out.Write(buffer, n)) return false;
    left -= n;
  }
  return crc == plan.crc;
}
