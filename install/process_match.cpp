// Which running programs belong to an earlier installation.
#include "process_match.h"

std::string UpperAscii(const std::string& text) {
  std::string upper = text;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

bool IsProductProcess(const std::string& programPath, const std::string& recordedFolder) {
  if (recordedFolder.empty()) return false;
  std::string path = UpperAscii(programPath);
  return path.find(UpperAscii(recordedFolder)) != std::string::npos &&
         path.find("SETUP.EXE") == std::string::npos;
}
