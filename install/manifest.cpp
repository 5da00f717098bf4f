// SETUP.INI, one section at a time.  Under Wine every profile call opens
// the file again; a section read once spares that per key.
#include "install/manifest.h"

#include <windows.h>

#include "common/bounded_text.h"
#include "install/manifest_entry.h"
#include "install/medium_files.h"

namespace {

// Windows 95/98 read no more of a section; a cut section returns size - 2.
constexpr DWORD kSectionReadSize = 32767;

// Bytes that some Windows version may strip from the ends of a key or value:
// controls, blanks and the end-of-file mark, and any byte of a character
// beyond ASCII (the no-break and ideographic spaces among them).
bool MayBeStripped(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return b <= ' ' || b >= 0x80;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

}  // namespace

ManifestSection::ManifestSection(const char* section) : section_(section) {
  lines_.resize(kSectionReadSize);
  DWORD read = GetPrivateProfileSectionA(section, lines_.data(), kSectionReadSize, MediumPath(kManifestFile).c_str());
  whole_ = read < kSectionReadSize - 2;
  lines_.resize(whole_ ? read : 0);
}

// The value on key's only line, when that line is plain; false leaves the key
// to the profile functions.  Walks the lines in place: this runs once per
// entry over the whole section.
bool ManifestSection::Find(const Text& key, Text* value) const {
  if (!whole_) return false;
  bool found = false;
  for (const char* line = lines_.c_str(); line < lines_.c_str() + lines_.size(); line += TextLength(line) + 1) {
    const char* end = line;
    while (*end && *end != '=') ++end;
    const char *first = line, *last = end;
    while (first < last && static_cast<unsigned char>(*first) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(last[-1]) <= ' ') --last;
    if (first < last && *first == ';') continue;
    // A character beyond ASCII may fold onto a letter of SETUP in some code
    // page (dotless i, long s), so such a key could be anyone's.
    for (const char* c = first; c < last; ++c)
      if (static_cast<unsigned char>(*c) >= 0x80) return false;
    if (static_cast<size_t>(last - first) != key.size()) continue;
    size_t i = 0;
    while (i < key.size() && UpperAscii(first[i]) == key[i]) ++i;
    if (i < key.size()) continue;
    if (found || first != line || *last != '=') return false;
    const char* text = last + 1;
    const size_t size = TextLength(text);
    if (size >= static_cast<size_t>(kManifestValueSize)) return false;
    if (size && (MayBeStripped(text[0]) || MayBeStripped(text[size - 1]) || IsQuote(text[0]) ||
                 IsQuote(text[size - 1])))
      return false;
    *value = Text(text, size);
    found = true;
  }
  return found;
}

Text ManifestSection::Value(int n) const {
  const Text key = ManifestKey(n);
  Text value;
  if (Find(key, &value)) return value;
  char read[kManifestValueSize];
  GetPrivateProfileStringA(section_, key.c_str(), kAbsentValue, read, sizeof read, MediumPath(kManifestFile).c_str());
  return read;
}

int ManifestSection::Points(int n) const {
  const Text key = ManifestKey(n);
  Text value;
  // Up to nine digits are a number no Windows reads differently.
  if (Find(key, &value) && !value.empty() && value.size() <= 9 &&
      value.find_first_not_of("0123456789") == Text::npos)
    return static_cast<int>(ParseDecimal(value.c_str()));
  return static_cast<int>(GetPrivateProfileIntA(section_, key.c_str(), 0, MediumPath(kManifestFile).c_str()));
}
