// Which running programs are the product's.
#include "common/product_programs.h"

#include "common/folder_guard.h"
#include "common/path_text.h"
#include "common/process_match.h"

namespace {

// Made full, a relative path would be taken for one in the current folder.
bool IsFullPath(const Text& path) { return IsAbsolutePath(CanonicalPathText(path)); }

}  // namespace

ProductProgramMatch::ProductProgramMatch(const Text& folder) {
  if (!IsFullPath(folder)) return;
  PathForms forms = SystemPathForms(folder);
  longFolder_ = forms.longForm;
  shortFolder_ = forms.shortForm;
}

bool ProductProgramMatch::Matches(const Text& programPath) const {
  if (IsProductProcess(programPath, longFolder_) || IsProductProcess(programPath, shortFolder_)) return true;
  return IsFullPath(programPath) && IsProductProcess(SystemPathForms(programPath).longForm, longFolder_);
}
