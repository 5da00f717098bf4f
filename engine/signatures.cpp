// The patterns, stored masked (see SignaturePattern).
#include "signatures.h"

#include "common/memory.h"

namespace {

constexpr unsigned char MaskByte(size_t i) { return static_cast<unsigned char>(0xA7 + 29 * i); }

struct Masked {
  unsigned char bytes[kLongestPattern];
  size_t size;
};

// Masks a literal at compile time: only the masked bytes reach the object
// file, because the literal itself is used only in a constant expression.
template <size_t N>
constexpr Masked Mask(const char (&text)[N]) {
  static_assert(N - 1 <= kLongestPattern, "pattern too long");
  Masked masked{};
  masked.size = N - 1;
  for (size_t i = 0; i + 1 < N; ++i) {
    masked.bytes[i] = static_cast<unsigned char>(static_cast<unsigned char>(text[i]) ^ MaskByte(i));
  }
  return masked;
}

// In the order of Sig.  Our markers share their first eight bytes, so a
// clean file spends almost all its bytes in the search's start state.
constexpr Masked kMasked[kSigCount] = {
    // The standard anti-virus test string, 68 bytes.
    Mask("X5O!P%@AP[4\\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*"),
    Mask("\x8F" "CvTest.Cloak" "\x00\x1A\xF0"),
    Mask("\x8F" "CvTest.Mender" "\x00\x1A"),
    Mask("\x8F" "CvTest.Smear" "\x00\x1A\xF0"),
    Mask("\x8F" "CvTest.Morph" "\x00\x1A\xF0"),
    Mask("\x8F" "CvTest.Inert" "\x00\x1A\xF0"),
    Mask("\x8F" "CvTest.MendEnd" "\x1A"),
};

}  // namespace

Pattern SignaturePattern(Sig sig) {
  const Masked& masked = kMasked[static_cast<size_t>(sig)];
  Pattern pattern{};
  pattern.size = masked.size;
  for (size_t i = 0; i < masked.size; ++i) pattern.bytes[i] = static_cast<unsigned char>(masked.bytes[i] ^ MaskByte(i));
  return pattern;
}

bool StartsWithPattern(const unsigned char* data, size_t size, Sig sig) {
  Pattern pattern = SignaturePattern(sig);
  return size >= pattern.size && CompareBytes(data, pattern.bytes, pattern.size) == 0;
}
