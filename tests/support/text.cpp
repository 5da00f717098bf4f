// Text helpers of the tests that need no Windows.
#include "support/text.h"

#include <cstdio>

namespace text {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = FormatList(format, args);
  va_end(args);
  return out;
}

std::string FormatList(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) std::vsnprintf(&out[0], n + 1, format, args);
  return out;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool SameText(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, end - start));
    start = end + separator.size();
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines = Split(text, "\r\n");
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace text
