// The uninstaller's hand-over to a copy of itself.
#include "product/logic/hand_over.h"

#include "common/bounded_text.h"
#include "common/process_match.h"

namespace {

const char kSwitch[] = "/HANDOVER";
const char kCleanupSwitch[] = "/CLEANUP";
constexpr size_t kLogPathMax = 259;

void SkipBlanks(const Text& text, size_t* at) {
  while (*at < text.size() && (text[*at] == ' ' || text[*at] == '\t')) ++*at;
}

// A run of non-blank characters.
Text Word(const Text& text, size_t* at) {
  size_t start = *at;
  while (*at < text.size() && text[*at] != ' ' && text[*at] != '\t') ++*at;
  return text.substr(start, *at - start);
}

// A text in quotation marks at *at (blanks before it skipped), and the
// blanks after it.
bool QuotedText(const Text& text, size_t* at, Text* quoted) {
  SkipBlanks(text, at);
  if (*at >= text.size() || text[*at] != '"') return false;
  const size_t close = text.find('"', *at + 1);
  if (close == Text::npos) return false;
  *quoted = text.substr(*at + 1, close - *at - 1);
  *at = close + 1;
  SkipBlanks(text, at);
  return true;
}

}  // namespace

Text CopyFileName(int n) { return "~CVUN" + DecimalText(n % 100, 2) + ".EXE"; }

Text HandOverCommandLine(const Text& copyPath, const HandOver& handOver) {
  Text line = "\"" + copyPath + "\" " + (handOver.cleanupOnly ? kCleanupSwitch : kSwitch) + " " +
              DecimalText(handOver.parentId) + " \"" + handOver.folder + "\"";
  if (handOver.cleanupOnly && !handOver.madeAbove.empty()) line += " \"" + handOver.madeAbove + "\"";
  return line;
}

bool ParseHandOver(const Text& arguments, HandOver* handOver) {
  size_t at = 0;
  SkipBlanks(arguments, &at);
  Text word = UpperAscii(Word(arguments, &at));
  if (word != kSwitch && word != kCleanupSwitch) return false;
  SkipBlanks(arguments, &at);
  Text id = Word(arguments, &at);
  if (id.empty() || id.size() > 10 || id.find_first_not_of("0123456789") != Text::npos) return false;
  unsigned long long value = 0;
  for (char digit : id) value = value * 10 + static_cast<unsigned>(digit - '0');
  if (value > 0xFFFFFFFFull) return false;
  Text folder;
  if (!QuotedText(arguments, &at, &folder)) return false;
  const bool cleanupOnly = word == kCleanupSwitch;
  Text madeAbove;
  if (cleanupOnly && at < arguments.size() && !QuotedText(arguments, &at, &madeAbove)) return false;
  if (at != arguments.size()) return false;
  handOver->parentId = static_cast<unsigned long>(value);
  handOver->folder = folder;
  handOver->cleanupOnly = cleanupOnly;
  handOver->madeAbove = madeAbove;
  return true;
}

UnsetupSwitches ParseUnsetupSwitches(const Text& arguments) {
  UnsetupSwitches s;
  size_t at = 0;
  for (;;) {
    SkipBlanks(arguments, &at);
    if (at >= arguments.size()) return s;
    Text word;
    bool quoted = false;
    for (; at < arguments.size() && (quoted || (arguments[at] != ' ' && arguments[at] != '\t')); ++at) {
      if (arguments[at] == '"') quoted = !quoted;
      else word += arguments[at];
    }
    Text upper = UpperAscii(word);
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
