// The test infections, made (layouts in formats.h).
#include "samples.h"

#include "formats.h"
#include "signatures.h"

namespace {

void PutU32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string PatternText(Sig sig) {
  Pattern pattern = SignaturePattern(sig);
  return std::string(reinterpret_cast<const char*>(pattern.bytes), pattern.size);
}

// A marker followed by filler up to `size`: the part of a test virus that
// stands for its code.
std::string Body(Sig marker, size_t size) {
  std::string body = PatternText(marker);
  for (size_t i = body.size(); i < size; ++i) body.push_back(static_cast<char>(0x90 ^ (i * 7)));
  return body;
}

uint32_t Crc(const std::string& bytes) { return Crc32(0, bytes.data(), bytes.size()); }

}  // namespace

std::string MakeEicarFile(const std::string& trailingSpace) { return PatternText(Sig::Eicar) + trailingSpace; }

std::string InfectCloak(const std::string& original) {
  std::string header = Body(Sig::CloakHead, kCloakHeaderSize);
  PutU32(header, kCloakSizeAt, static_cast<uint32_t>(original.size()));
  PutU32(header, kCloakCrcAt, Crc(original));
  return header + original;
}

std::string InfectMender(const std::string& original) {
  size_t displaced = original.size() < kMenderStubSize ? original.size() : kMenderStubSize;
  std::string trailer(kMenderTrailerSize, '\0');
  trailer.replace(kMenderSavedAt, displaced, original, 0, displaced);
  PutU32(trailer, kMenderCountAt, static_cast<uint32_t>(displaced));
  PutU32(trailer, kMenderSizeAt, static_cast<uint32_t>(original.size()));
  PutU32(trailer, kMenderCrcAt, Crc(original));
  trailer.replace(kMenderTailAt, kMarkerSize, PatternText(Sig::MenderTail));
  return Body(Sig::MenderStub, kMenderStubSize) + original.substr(displaced) + trailer;
}

std::string InfectSmear(const std::string& original) {
  std::string body = Body(Sig::SmearBody, kBodySize);
  return original.size() <= body.size() ? body : body + original.substr(body.size());
}

std::string InfectMorph(const std::string& original) {
  size_t middle = original.size() / 2;
  return original.substr(0, middle) + Body(Sig::MorphBody, kBodySize) + original.substr(middle);
}

std::string InfectInert(const std::string& original) { return original + Body(Sig::InertBody, kBodySize); }
