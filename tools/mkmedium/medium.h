// The platform-free half of the medium builder: the list file that describes
// the product, the split of the copy page's bar by file size, and the text of
// SETUP.INI.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace medium {

struct Entry {
  std::string value;  // SetupFiles value: a file name, maybe after %S, %W, %s or %w
  std::string link;   // SetupLink value: a name ending in ".LNK", or "NO"
  int line;           // in the list file, for messages
};

// Reads the list file: one entry per line, "VALUE [LINK]", the two fields
// separated by blanks or tabs, a field that holds blanks in double quotes.
// Blank lines and lines whose first non-blank character is '#' are skipped.
// False, with a message naming the line, for anything setup could not use;
// among them a file or link name that the profile functions would read back
// otherwise than written, which the message names as well.
bool ParseList(const std::string& text, std::vector<Entry>* entries, std::string* error);

// The file name of a SetupFiles value: the value without its folder prefix.
std::string FileNameOf(const std::string& value);

// Each entry's share of the bar in per cent, by size, by the largest
// remainder method: every share is its exact quota rounded down or up, the
// shares sum to exactly 100 (for at least one entry), and a larger file
// never gets fewer points than a smaller one. When all sizes are zero the
// entries share equally. Sizes must sum to less than 2^57.
std::vector<int> SplitShares(const std::vector<uint64_t>& sizes);

// "SETUP%03d": SETUP001 ... SETUP999, SETUP1000 ...
std::string ManifestKey(size_t number);

// SETUP.INI: sections SetupFiles, SetupPersent and SetupLink, every entry's
// key in each (the link walk ends at the first absent key), CRLF lines.
std::string ManifestText(const std::vector<Entry>& entries, const std::vector<int>& shares);

}  // namespace medium
