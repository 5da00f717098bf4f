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

bool IsEicarFile(const unsigned char* head, size_t head_size, uint64_t size) {
  if (size > kEicarMaxFileSize || head_size != size || !StartsWithPattern(head, head_size, Sig::kEicar)) return false;
  for (size_t i = SignaturePattern(Sig::kEicar).size; i < head_size; ++i) {
    if (!IsWhiteSpace(head[i])) return false;
  }
  return true;
}

bool ReadCloakLayer(const unsigned char* head, size_t head_size, uint64_t size, RepairPlan* plan) {
  if (head_size < kCloakHeaderSize || size < kCloakHeaderSize) return false;
  if (!StartsWithPattern(head, head_size, Sig::kCloakHead)) return false;
  uint32_t original = GetU32(head + kCloakSizeAt);
  if (size - kCloakHeaderSize != original) return false;
  plan->head_size = 0;
  plan->copy_from = kCloakHeaderSize;
  plan->copy_length = original;
  plan->crc = GetU32(head + kCloakCrcAt);
  return true;
}

bool ReadMenderLayer(const unsigned char* tail, size_t tail_size, uint64_t size, RepairPlan* plan) {
  if (tail_size < kMenderTrailerSize || size < kMenderStubSize + kMenderTrailerSize) return false;
  const unsigned char* trailer = tail + tail_size - kMenderTrailerSize;
  if (!StartsWithPattern(trailer + kMenderTailAt, kMarkerSize, Sig::kMenderTail)) return false;
  uint32_t displaced = GetU32(trailer + kMenderCountAt);
  uint32_t original = GetU32(trailer + kMenderSizeAt);
  uint32_t expected_displaced = original < kMenderStubSize ? original : static_cast<uint32_t>(kMenderStubSize);
  if (displaced != expected_displaced) return false;
  if (size != uint64_t{kMenderStubSize} + (original - displaced) + kMenderTrailerSize) return false;
  CopyBytes(plan->head, trailer + kMenderSavedAt, displaced);
  plan->head_size = displaced;
  plan->copy_from = kMenderStubSize;
  plan->copy_length = original - displaced;
  plan->crc = GetU32(trailer + kMenderCrcAt);
  return true;
}
