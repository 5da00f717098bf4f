// Text helpers of the tests that need no Windows: ASCII letter case (Windows
// compares paths without regard to it), splitting, and printf-style
// formatting.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

#define CORVANE_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))

namespace text {

std::string Format(const char* format, ...) CORVANE_PRINTF(1, 2);
std::string FormatList(const char* format, va_list args) CORVANE_PRINTF(1, 0);

// Only ASCII letters change: code page 949 text keeps its bytes.
std::string Lower(std::string text);
std::string Upper(std::string text);
bool SameText(const std::string& a, const std::string& b);
bool StartsWith(const std::string& text, const std::string& head);

// Every piece between separators, empty ones included: "" is one empty piece.
std::vector<std::string> Split(const std::string& text, const std::string& separator);
// The lines of a text without their CR LF; a CR LF at the end starts no line.
std::vector<std::string> Lines(const std::string& text);

}  // namespace text
