// The answer script of the Corvane.dll double: parsing it and picking the
// answer for a probed path.  The format is described at the top of
// engine_double.cpp.  Kept apart from windows.h so that it is tested natively.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

namespace engine_script {

// Tells a double-byte character's first byte in the ANSI code page.
using LeadBytePredicate = bool (*)(unsigned char);

struct Answer {
  bool found = false;
  int report = 0;
  int result = 1;
  std::string name = "Test.Virus";
  bool deletes = false;
};

struct Entry {
  std::string file;  // "*": every file that no entry names
  std::vector<Answer> answers;
  size_t given = 0;  // answers given so far
};

struct Script {
  std::vector<Entry> entries;
  std::vector<std::string> errors;  // "<line>: <what>"
};

namespace detail {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

inline bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || n < -32768 || n > 32767) return false;
  *value = static_cast<int>(n);
  return true;
}

// Splits the answers at semicolons outside quotes.
inline std::vector<std::string> SplitAnswers(const std::string& text) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == ';' && !quoted) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

// One answer; an empty string on success, else what is wrong.
inline std::string ParseAnswer(const std::string& text, Answer* answer) {
  size_t i = 0;
  auto nextWord = [&](std::string* word) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    word->clear();
    while (i < text.size() && !IsBlank(text[i])) {
      if (text[i] == '"') {
        size_t close = text.find('"', i + 1);
        if (close == std::string::npos) return false;
        word->append(text, i, close + 1 - i);
        i = close + 1;
      } else {
        word->push_back(text[i++]);
      }
    }
    return true;
  };
  std::string word;
  if (!nextWord(&word)) return "unclosed quote";
  if (word == "clean") {
    if (!nextWord(&word) || !word.empty()) return "nothing may follow clean";
    answer->found = false;
    return std::string();
  }
  if (word != "found") return "an answer is clean or found, not \"" + word + "\"";
  answer->found = true;
  for (;;) {
    if (!nextWord(&word)) return "unclosed quote";
    if (word.empty()) return std::string();
    size_t eq = word.find('=');
    std::string key = word.substr(0, eq);
    std::string value = eq == std::string::npos ? std::string() : word.substr(eq + 1);
    if (word == "delete") {
      answer->deletes = true;
    } else if (key == "report" && ParseInt(value, &answer->report)) {
    } else if (key == "result" && ParseInt(value, &answer->result)) {
    } else if (key == "name" && eq != std::string::npos) {
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      answer->name = value;
    } else {
      return "unknown field \"" + word + "\"";
    }
  }
}

}  // namespace detail

inline Script Parse(const std::string& text) {
  Script script;
  size_t begin = 0;
  for (int lineNumber = 1; begin <= text.size(); ++lineNumber) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = detail::Trim(text.substr(begin, end - begin));
    begin = end + 1;
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const std::string& what) { script.errors.push_back(std::to_string(lineNumber) + ": " + what); };
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
      fail("no colon after the file name");
      continue;
    }
    Entry entry;
    entry.file = detail::Trim(line.substr(0, colon));
    if (entry.file.empty()) {
      fail("no file name");
      continue;
    }
    std::string error;
    for (const std::string& part : detail::SplitAnswers(line.substr(colon + 1))) {
      if (detail::Trim(part).empty()) continue;
      Answer answer;
      error = detail::ParseAnswer(part, &answer);
      if (!error.empty()) break;
      entry.answers.push_back(answer);
    }
    if (!error.empty()) {
      fail(error);
      continue;
    }
    script.entries.push_back(entry);
  }
  return script;
}

// The part of `path` after its last backslash, slash or colon.
inline std::string LastComponent(const std::string& path, LeadBytePredicate isLead) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (isLead(c) && i + 1 < path.size()) {
      ++i;  // a trail byte is never a separator
    } else if (c == '\\' || c == '/' || c == ':') {
      start = i + 1;
    }
  }
  return path.substr(start);
}

// Equal names, ignoring the case of single-byte letters only.
inline bool SameName(const std::string& a, const std::string& b, LeadBytePredicate isLead) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (isLead(x) && i + 1 < a.size()) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The answer to the next probe of `path`: its entry's next answer, the last
// one again when they are used up; clean when no entry applies.
inline Answer NextAnswer(Script& script, const std::string& path, LeadBytePredicate isLead) {
  std::string name = LastComponent(path, isLead);
  Entry* named = nullptr;
  Entry* any = nullptr;
  for (Entry& entry : script.entries) {
    if (entry.file == "*") {
      if (!any) any = &entry;
    } else if (!named && SameName(entry.file, name, isLead)) {
      named = &entry;
    }
  }
  Entry* chosen = named ? named : any;
  if (!chosen || chosen->answers.empty()) return Answer();
  size_t index = chosen->given < chosen->answers.size() ? chosen->given : chosen->answers.size() - 1;
  ++chosen->given;
  return chosen->answers[index];
}

}  // namespace engine_script
