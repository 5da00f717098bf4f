// The uninstaller's hand-over to a copy of itself.
#include "product/logic/hand_over.h"

#include <cstdio>

#include "install/process_match.h"

namespace {

const char kSwitch[] = "/HANDOVER";

void SkipBlanks(const std::string& text, std::size_t* at) {
  while (*at < text.size() && (text[*at] == ' ' || text[*at] == '\t')) ++*at;
}

// A run of non-blank characters.
std::string Word(const std::string& text, std::size_t* at) {
  std::size_t start = *at;
  while (*at < text.size() && text[*at] != ' ' && text[*at] != '\t') ++*at;
  return text.substr(start, *at - start);
}

}  // namespace

std::string CopyFileName(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "~CVUN%02d.EXE", n % 100);
  return name;
}

std::string HandOverCommandLine(const std::string& copyPath, const HandOver& handOver) {
  return "\"" + copyPath + "\" " + kSwitch + " " + std::to_string(handOver.parentId) + " \"" + handOver.folder + "\"";
}

bool ParseHandOver(const std::string& arguments, HandOver* handOver) {
  std::size_t at = 0;
  SkipBlanks(arguments, &at);
  if (UpperAscii(Word(arguments, &at)) != kSwitch) return false;
  SkipBlanks(arguments, &at);
  std::string id = Word(arguments, &at);
  if (id.empty() || id.size() > 10 || id.find_first_not_of("0123456789") != std::string::npos) return false;
  unsigned long long value = 0;
  for (char digit : id) value = value * 10 + static_cast<unsigned>(digit - '0');
  if (value > 0xFFFFFFFFull) return false;
  SkipBlanks(arguments, &at);
  if (at >= arguments.size() || arguments[at] != '"') return false;
  std::size_t close = arguments.find('"', at + 1);
  if (close == std::string::npos) return false;
  std::string folder = arguments.substr(at + 1, close - at - 1);
  at = close + 1;
  SkipBlanks(arguments, &at);
  if (at != arguments.size()) return false;
  handOver->parentId = static_cast<unsigned long>(value);
  handOver->folder = folder;
  return true;
}
