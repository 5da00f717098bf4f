// The byte patterns the engine knows: the EICAR test file and the markers of
// the engine's own test infections (see formats.h).
#pragma once
#include <stddef.h>

// The first kSearchedCount are searched for anywhere in a file, and their
// values are their pattern ids in the search automaton; the others are read
// at a fixed place of an infection.
enum class Sig {
  Eicar,
  CloakHead,
  MenderStub,
  SmearBody,
  MorphBody,
  InertBody,
  MenderTail,
};
constexpr size_t kSearchedCount = 6;
constexpr size_t kSigCount = 7;
constexpr size_t kMarkerSize = 16;  // every marker of our own infections
constexpr size_t kLongestPattern = 68;

struct Pattern {
  unsigned char bytes[kLongestPattern];
  size_t size;
};

// The pattern's bytes.  They are kept masked in the program and unmasked only
// here, so that no program or library built from this source carries a
// pattern: the engine would find one in itself, and other scanners would take
// the EICAR string for a test virus.
Pattern SignaturePattern(Sig sig);

// True when `data` (at least the pattern's size) starts with the pattern.
bool StartsWithPattern(const unsigned char* data, size_t size, Sig sig);
