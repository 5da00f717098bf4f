// The command line of DELTREE.EXE.
#include "command_line.h"

namespace deltree {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

}  // namespace

Argument NextArgument(const char** cursor) {
  const char* p = SkipBlanks(*cursor);
  Argument a = {Kind::End, p, 0};
  if (*p == '"') {
    const char* start = ++p;
    while (*p != '\0' && *p != '"') ++p;
    a = {Kind::Path, start, static_cast<size_t>(p - start)};
    if (*p == '"') ++p;
  } else if (*p == '/') {
    const char* start = p;
    while (*p != '\0' && !IsBlank(*p)) ++p;
    a = {Kind::Option, start, static_cast<size_t>(p - start)};
  } else if (*p != '\0') {
    // Words up to the next switch or quote make one path, inner blanks kept.
    const char* start = p;
    const char* end = p;
    while (*p != '\0' && *p != '"' && *p != '/') {
      while (*p != '\0' && !IsBlank(*p) && *p != '"') ++p;
      end = p;
      p = SkipBlanks(p);
    }
    a = {Kind::Path, start, static_cast<size_t>(end - start)};
  }
  *cursor = p;
  return a;
}

bool IsYesSwitch(const Argument& a) {
  return a.kind == Kind::Option && a.length == 2 && (a.text[1] == 'y' || a.text[1] == 'Y');
}

}  // namespace deltree
