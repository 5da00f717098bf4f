// SETUP.INI in the setup folder: one section read at once, with the profile
// functions asked for any value the section text alone cannot settle.
#pragma once
#include "common/text.h"

// One section of the manifest as it stood when constructed.  Values are
// exactly what GetPrivateProfileStringA and GetPrivateProfileIntA give for
// key SETUPnnn on every Windows: a value is taken from the section text only
// when it sits on one plain line (no blanks or quotes that a Windows version
// might strip, no duplicate, short enough); anything else is read through
// the profile functions, one call each.
class ManifestSection {
 public:
  explicit ManifestSection(const char* section);

  // The value of SETUPnnn, or "Error" when absent (cut to 599 characters).
  Text Value(int n) const;
  // The value of SETUPnnn as a number, 0 when absent or not a number; the
  // points of entry n when this is SetupPersent.
  int Points(int n) const;

 private:
  bool Find(const Text& key, Text* value) const;

  const char* section_;
  Text lines_;  // key=value lines, each ended by a zero byte
  bool whole_;  // false when the section did not fit: every key is asked
};
