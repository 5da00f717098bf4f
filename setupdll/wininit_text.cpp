// WININIT.INI's [rename] section edited as text.
#include "wininit_text.h"

#include "names.h"

namespace wininit {
namespace {

const char kRenameHeader[] = "[rename]";
const char kLineEnd[] = "\r\n";

size_t text_length(const char* s) {
  size_t n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// One line of the text: [start, end) is its content without the line end;
// next is where the following line starts (length for the last one).
struct Line {
  size_t start;
  size_t end;
  size_t next;
};

Line line_at(const char* text, size_t length, size_t start) {
  Line line = {start, start, length};
  size_t at = start;
  while (at < length && text[at] != '\n') ++at;
  line.next = at < length ? at + 1 : length;
  line.end = (at > start && text[at - 1] == '\r') ? at - 1 : at;
  return line;
}

// [from, to) narrowed to exclude the blanks at either end.
void trim(const char* text, size_t* from, size_t* to) {
  while (*from < *to && is_blank(text[*from])) ++*from;
  while (*to > *from && is_blank(text[*to - 1])) --*to;
}

bool has_no_line_end(const char* text, size_t length, const Line& line) {
  return line.next == length && (length == 0 || text[length - 1] != '\n');
}

// A section header is a line whose first non-blank byte is "[".
bool is_header(const char* text, const Line& line, bool* is_rename) {
  size_t from = line.start;
  size_t to = line.end;
  trim(text, &from, &to);
  if (from == to || text[from] != '[') return false;
  *is_rename = payload::NamesEqual(text + from, to - from, kRenameHeader, sizeof kRenameHeader - 1);
  return true;
}

bool is_blank_line(const char* text, const Line& line) {
  size_t from = line.start;
  size_t to = line.end;
  trim(text, &from, &to);
  return from == to;
}

// The key and value of a "key=value" line, blanks trimmed; false for a line
// without "=".
bool split_entry(const char* text, const Line& line, size_t* key_from, size_t* key_to, size_t* value_from,
                 size_t* value_to) {
  size_t equals = line.start;
  while (equals < line.end && text[equals] != '=') ++equals;
  if (equals == line.end) return false;
  *key_from = line.start;
  *key_to = equals;
  *value_from = equals + 1;
  *value_to = line.end;
  trim(text, key_from, key_to);
  trim(text, value_from, value_to);
  return true;
}

bool entry_matches(const char* text, const Line& line, const char* key, const char* value, size_t* value_from,
                   size_t* value_to) {
  size_t key_from = 0;
  size_t key_to = 0;
  if (!split_entry(text, line, &key_from, &key_to, value_from, value_to)) return false;
  if (!payload::NamesEqual(text + key_from, key_to - key_from, key, text_length(key))) return false;
  return value == nullptr ||
         payload::NamesEqual(text + *value_from, *value_to - *value_from, value, text_length(value));
}

bool is_valid_part(const char* part, bool is_key) {
  if (part == nullptr || part[0] == '\0') return false;
  for (const char* c = part; *c != '\0'; ++c) {
    if (*c == '\r' || *c == '\n' || (is_key && *c == '=')) return false;
  }
  // A key starting with these would read as a section header or a comment.
  return !is_key || (part[0] != '[' && part[0] != ';');
}

void append(char** out, const char* s) {
  while (*s != '\0') *(*out)++ = *s++;
}

}  // namespace

size_t added_size(const char* key, const char* value) {
  // A line end before the header, the header and its line end, the line and
  // its line end.
  return 3 * (sizeof kLineEnd - 1) + (sizeof kRenameHeader - 1) + text_length(key) + 1 + text_length(value);
}

bool add_rename_line(char* text, size_t* length, size_t capacity, const char* key, const char* value) {
  if (!is_valid_part(key, true) || !is_valid_part(value, false) || *length > capacity) return false;

  bool found = false;
  bool in_rename = false;
  bool after_unended_line = false;
  size_t insert_at = *length;
  for (size_t at = 0; at < *length;) {
    const Line line = line_at(text, *length, at);
    bool is_rename = false;
    if (is_header(text, line, &is_rename)) {
      if (found) break;
      in_rename = is_rename;
    }
    if (in_rename && !is_blank_line(text, line)) {
      found = true;
      insert_at = line.next;
      after_unended_line = has_no_line_end(text, *length, line);
    }
    at = line.next;
  }

  const bool new_section = !found;
  const bool end_before_header = new_section && *length > 0 && text[*length - 1] != '\n';
  const size_t line_end = sizeof kLineEnd - 1;
  const size_t used = (end_before_header ? line_end : 0) + (new_section ? sizeof kRenameHeader - 1 + line_end : 0) +
                      text_length(key) + 1 + text_length(value) + line_end;
  if (used > capacity - *length) return false;

  for (size_t i = *length; i > insert_at; --i) text[i - 1 + used] = text[i - 1];
  char* out = text + insert_at;
  if (end_before_header) append(&out, kLineEnd);
  if (new_section) {
    append(&out, kRenameHeader);
    append(&out, kLineEnd);
  }
  if (after_unended_line) append(&out, kLineEnd);
  append(&out, key);
  append(&out, "=");
  append(&out, value);
  if (!after_unended_line) append(&out, kLineEnd);
  *length += used;
  return true;
}

size_t remove_rename_lines(char* text, size_t* length, const char* key, const char* value) {
  if (key == nullptr || key[0] == '\0') return 0;
  size_t removed = 0;
  bool in_rename = false;
  for (size_t at = 0; at < *length;) {
    const Line line = line_at(text, *length, at);
    bool is_rename = false;
    size_t value_from = 0;
    size_t value_to = 0;
    if (is_header(text, line, &is_rename)) {
      in_rename = is_rename;
    } else if (in_rename && entry_matches(text, line, key, value, &value_from, &value_to)) {
      // A last line without a line end goes with the line end before it,
      // the reverse of add_rename_line.
      size_t from = line.start;
      if (has_no_line_end(text, *length, line) && from > 0) {
        --from;
        if (from > 0 && text[from - 1] == '\r') --from;
      }
      const size_t gone = line.next - from;
      for (size_t i = line.next; i < *length; ++i) text[i - gone] = text[i];
      *length -= gone;
      ++removed;
      continue;
    }
    at = line.next;
  }
  return removed;
}

size_t find_rename_value(const char* text, size_t length, const char* key, char* out, size_t out_size) {
  if (out_size > 0) out[0] = '\0';
  if (key == nullptr || key[0] == '\0') return 0;
  bool found = false;
  size_t found_from = 0;
  size_t found_to = 0;
  bool in_rename = false;
  for (size_t at = 0; at < length;) {
    const Line line = line_at(text, length, at);
    bool is_rename = false;
    size_t value_from = 0;
    size_t value_to = 0;
    if (is_header(text, line, &is_rename)) {
      in_rename = is_rename;
    } else if (in_rename && entry_matches(text, line, key, nullptr, &value_from, &value_to)) {
      found = true;
      found_from = value_from;
      found_to = value_to;
    }
    at = line.next;
  }
  if (!found) return 0;
  const size_t needed = found_to - found_from + 1;
  if (needed > out_size) return needed;
  for (size_t i = found_from; i < found_to; ++i) out[i - found_from] = text[i];
  out[found_to - found_from] = '\0';
  return needed;
}

}  // namespace wininit
