// The command line of DELTREE.EXE.
#include "command_line.h"

namespace deltree {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

const char* skip_blanks(const char* p) {
  while (is_blank(*p)) ++p;
  return p;
}

}  // namespace

Argument next_argument(const char** cursor) {
  const char* p = skip_blanks(*cursor);
  Argument a = {Kind::end, p, 0};
  if (*p == '"') {
    const char* start = ++p;
    while (*p != '\0' && *p != '"') ++p;
    a = {Kind::path, start, static_cast<size_t>(p - start)};
    if (*p == '"') ++p;
  } else if (*p == '/') {
    const char* start = p;
    while (*p != '\0' && !is_blank(*p)) ++p;
    a = {Kind::option, start, static_cast<size_t>(p - start)};
  } else if (*p != '\0') {
    // Words up to the next switch or quote make one path, inner blanks kept.
    const char* start = p;
    const char* end = p;
    while (*p != '\0' && *p != '"' && *p != '/') {
      while (*p != '\0' && !is_blank(*p) && *p != '"') ++p;
      end = p;
      p = skip_blanks(p);
    }
    a = {Kind::path, start, static_cast<size_t>(end - start)};
  }
  *cursor = p;
  return a;
}

bool is_yes_switch(const Argument& a) {
  return a.kind == Kind::option && a.length == 2 && (a.text[1] == 'y' || a.text[1] == 'Y');
}

const char* skip_program_name(const char* command_line) {
  const char* p = skip_blanks(command_line);
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !is_blank(*p)) ++p;
  }
  return p;
}

}  // namespace deltree
