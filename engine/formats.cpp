// Reading the layouts of the test infections (described in formats.h).
#include "formats.h"

#include "common/memory.h"
#include "signatures.h"

namespace {

uint32_t GetU32(const unsigned char* bytes) {
  return bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
}

bool IsWhiteSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

bool IsEicarFile(const unsigned char* head, size_t headSize, uint64_t size) {
  if (size > kEicarMaxFileSize || headSize != size || !StartsWithPattern(head, headSize, Sig::Eicar)) return false;
  for (size_t i = SignaturePattern(Sig::Eicar).size; i < headSize; ++i) {
    if (!IsWhiteSpace(head[i])) return false;
  }
  return true;
}

bool ReadCloakLayer(const unsigned char* head, size_t headSize, uint64_t size, RepairPlan* plan) {
  if (headSize < kCloakHeaderSize || size < kCloakHeaderSize) return false;
  if (!StartsWithPattern(head, headSize, Sig::CloakHead)) return false;
  uint32_t original = GetU32(head + kCloakSizeAt);
  if (size - kCloakHeaderSize != original) return false;
  plan->headSize = 0;
  plan->copyFrom = kCloakHeaderSize;
  plan->copyLength = original;
  plan->crc = GetU32(head + kCloakCrcAt);
  return true;
}

bool ReadMenderLayer(const unsigned char* tail, size_t tailSize, uint64_t size, RepairPlan* plan) {
  if (tailSize < kMenderTrailerSize || size < kMenderStubSize + kMenderTrailerSize) return false;
  const unsigned char* trailer = tail + tailSize - kMenderTrailerSize;
  if (!StartsWithPattern(trailer + kMenderTailAt, kMarkerSize, Sig::MenderTail)) return false;
  uint32_t displaced = GetU32(trailer + kMenderCountAt);
  uint32_t original = GetU32(trailer + kMenderSizeAt);
  uint32_t expectedDisplaced = original < kMenderStubSize ? original : static_cast<uint32_t>(kMenderStubSize);
  if (displaced != expectedDisplaced) return false;
  if (size != uint64_t{kMenderStubSize} + (original - displaced) + kMenderTrailerSize) return false;
  CopyBytes(plan->head, trailer + kMenderSavedAt, displaced);
  plan->headSize = displaced;
  plan->copyFrom = kMenderStubSize;
  plan->copyLength = original - displaced;
  plan->crc = GetU32(trailer + kMenderCrcAt);
  return true;
}
