// Which running programs belong to an earlier installation.
#include "common/process_match.h"

#include "common/path_text.h"

bool IsProductProcess(const Text& programPath, const Text& folder) {
  return IsInsideFolder(programPath, folder) && FoldCase(programPath).find("SETUP.EXE") == Text::npos;
}
