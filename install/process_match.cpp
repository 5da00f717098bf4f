// Which running programs belong to an earlier installation.
#include "process_match.h"

bool IsProductProcess(const Text& programPath, const Text& recordedFolder) {
  if (recordedFolder.empty()) return false;
  Text path = UpperAscii(programPath);
  return path.find(UpperAscii(recordedFolder)) != Text::npos &&
         path.find("SETUP.EXE") == Text::npos;
}
