// Deleting a file at the next start of Windows 95/98.
#include "product/logic/wininit.h"

#include "install/process_match.h"

namespace {

// The line that starts at `at`, without its line end.
std::string LineAt(const std::string& text, std::size_t at) {
  std::size_t end = text.find('\n', at);
  std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string Trimmed(const std::string& line) {
  std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  std::size_t last = line.find_last_not_of(" \t");
  return line.substr(first, last - first + 1);
}

std::size_t NextLine(const std::string& text, std::size_t at) {
  std::size_t end = text.find('\n', at);
  return end == std::string::npos ? text.size() : end + 1;
}

}  // namespace

std::string AddDeleteAtRestart(const std::string& content, const std::string& shortPath) {
  const std::string entry = "NUL=" + shortPath + "\r\n";
  std::string text = content;
  if (!text.empty() && text.back() != '\n') text += "\r\n";

  // Finds [rename], then the end of its last non-blank line before the next
  // section, so that the new line joins the section rather than trailing
  // blank lines.
  bool inRename = false;
  std::size_t insertAt = std::string::npos;
  for (std::size_t at = 0; at < text.size(); at = NextLine(text, at)) {
    std::string line = Trimmed(LineAt(text, at));
    if (!line.empty() && line[0] == '[') {
      if (inRename) break;
      inRename = UpperAscii(line) == "[RENAME]";
      if (inRename) insertAt = NextLine(text, at);
      continue;
    }
    if (inRename && !line.empty()) insertAt = NextLine(text, at);
  }
  if (insertAt == std::string::npos) return text + "[rename]\r\n" + entry;
  return text.insert(insertAt, entry);
}
