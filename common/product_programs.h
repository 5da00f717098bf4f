// Which running programs are the product's: those whose file lies in its
// install folder, as the file system spells both.  Setup, before it replaces
// the files, and the uninstaller, before it removes them, ask the same.
#pragma once
#include "common/text.h"

// Windows 95/98 give a program's path in the form it was started with: long,
// 8.3, or a mix of both.  The folder's two forms are looked up once; each
// program's path is compared as given and, failing that, in its long form.
class ProductProgramMatch {
 public:
  // A folder that is not a full path ("", "Corvane") matches nothing.
  explicit ProductProgramMatch(const Text& folder);
  bool Matches(const Text& programPath) const;

 private:
  Text longFolder_;
  Text shortFolder_;  // "" when the folder is not on the disk
};
