// The uninstaller's hand-over to a copy of itself.
#include "product/logic/hand_over.h"

#include <cstdio>

#include "install/process_match.h"

namespace {

const char kSwitch[] = "/HANDOVER";
const char kCleanupSwitch[] = "/CLEANUP";
constexpr std::size_t kLogPathMax = 259;

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
  return "\"" + copyPath + "\" " + (handOver.cleanupOnly ? kCleanupSwitch : kSwitch) + " " +
         std::to_string(handOver.parentId) + " \"" + handOver.folder + "\"";
}

bool ParseHandOver(const std::string& arguments, HandOver* handOver) {
  std::size_t at = 0;
  SkipBlanks(arguments, &at);
  std::string word = UpperAscii(Word(arguments, &at));
  if (word != kSwitch && word != kCleanupSwitch) return false;
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
  handOver->cleanupOnly = word == kCleanupSwitch;
  return true;
}

UnsetupSwitches ParseUnsetupSwitches(const std::string& arguments) {
  UnsetupSwitches s;
  std::size_t at = 0;
  for (;;) {
    SkipBlanks(arguments, &at);
    if (at >= arguments.size()) return s;
    std::string word;
    bool quoted = false;
    for (; at < arguments.size() && (quoted || (arguments[at] != ' ' && arguments[at] != '\t')); ++at) {
      if (arguments[at] == '"') quoted = !quoted;
      else word += arguments[at];
    }
    std::string upper = UpperAscii(word);
    if (upper == "/S") {
      s.silent = true;
    } else if (upper == "/ALL") {
      s.all = true;
    } else if (upper.compare(0, 5, "/LOG=") == 0 && word.size() > 5 && word.size() - 5 <= kLogPathMax) {
      s.log = word.substr(5);
    } else if (s.error.empty()) {
      s.error = "알 수 없는 스위치: " + word.substr(0, kLogPathMax);
    }
  }
}
