// WININIT.INI's [rename] section edited as text.
#include "wininit_text.h"

#include "common/bounded_text.h"
#include "names.h"

namespace wininit {
namespace {

const char kRenameHeader[] = "[rename]";
const char kLineEnd[] = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One line of the text: [start, end) is its content without the line end;
// next is where the following line starts (length for the last one).
struct Line {
  size_t start;
  size_t end;
  size_t next;
};

Line LineAt(const char* text, size_t length, size_t start) {
  Line line = {start, start, length};
  size_t at = start;
  while (at < length && text[at] != '\n') ++at;
  line.next = at < length ? at + 1 : length;
  line.end = (at > start && text[at - 1] == '\r') ? at - 1 : at;
  return line;
}

// [from, to) narrowed to exclude the blanks at either end.
void Trim(const char* text, size_t* from, size_t* to) {
  while (*from < *to && IsBlank(text[*from])) ++*from;
  while (*to > *from && IsBlank(text[*to - 1])) --*to;
}

bool HasNoLineEnd(const char* text, size_t length, const Line& line) {
  return line.next == length && (length == 0 || text[length - 1] != '\n');
}

// A section header is a line whose first non-blank byte is "[".
bool IsHeader(const char* text, const Line& line, bool* isRename) {
  size_t from = line.start;
  size_t to = line.end;
  Trim(text, &from, &to);
  if (from == to || text[from] != '[') return false;
  *isRename = payload::NamesEqual(text + from, to - from, kRenameHeader, sizeof kRenameHeader - 1);
  return true;
}

bool IsBlankLine(const char* text, const Line& line) {
  size_t from = line.start;
  size_t to = line.end;
  Trim(text, &from, &to);
  return from == to;
}

// The key and value of a "key=value" line, blanks trimmed; false for a line
// without "=".
bool SplitEntry(const char* text, const Line& line, size_t* keyFrom, size_t* keyTo, size_t* valueFrom,
                size_t* valueTo) {
  size_t equals = line.start;
  while (equals < line.end && text[equals] != '=') ++equals;
  if (equals == line.end) return false;
  *keyFrom = line.start;
  *keyTo = equals;
  *valueFrom = equals + 1;
  *valueTo = line.end;
  Trim(text, keyFrom, keyTo);
  Trim(text, valueFrom, valueTo);
  return true;
}

bool EntryMatches(const char* text, const Line& line, const char* key, const char* value, size_t* valueFrom,
                  size_t* valueTo) {
  size_t keyFrom = 0;
  size_t keyTo = 0;
  if (!SplitEntry(text, line, &keyFrom, &keyTo, valueFrom, valueTo)) return false;
  if (!payload::NamesEqual(text + keyFrom, keyTo - keyFrom, key, TextLength(key))) return false;
  return value == nullptr ||
         payload::NamesEqual(text + *valueFrom, *valueTo - *valueFrom, value, TextLength(value));
}

bool IsValidPart(const char* part, bool isKey) {
  if (part == nullptr || part[0] == '\0') return false;
  for (const char* c = part; *c != '\0'; ++c) {
    if (*c == '\r' || *c == '\n' || (isKey && *c == '=')) return false;
  }
  // A key starting with these would read as a section header or a comment.
  return !isKey || (part[0] != '[' && part[0] != ';');
}

void Append(char** out, const char* s) {
  while (*s != '\0') *(*out)++ = *s++;
}

// The next line from *at on that is an entry of a [rename] section with this
// key and, when value is not null, this value; *at then points past it.
// *inRename says whether *at lies in a [rename] section, for the next call.
bool NextRenameEntry(const char* text, size_t length, size_t* at, bool* inRename, const char* key,
                     const char* value, Line* found, size_t* valueFrom, size_t* valueTo) {
  while (*at < length) {
    const Line line = LineAt(text, length, *at);
    *at = line.next;
    bool isRename = false;
    if (IsHeader(text, line, &isRename)) {
      *inRename = isRename;
    } else if (*inRename && EntryMatches(text, line, key, value, valueFrom, valueTo)) {
      *found = line;
      return true;
    }
  }
  return false;
}

}  // namespace

size_t AddedSize(const char* key, const char* value) {
  // A line end before the header, the header and its line end, the line and
  // its line end.
  return 3 * (sizeof kLineEnd - 1) + (sizeof kRenameHeader - 1) + TextLength(key) + 1 + TextLength(value);
}

bool AddRenameLine(char* text, size_t* length, size_t capacity, const char* key, const char* value) {
  if (!IsValidPart(key, true) || !IsValidPart(value, false) || *length > capacity) return false;

  bool found = false;
  bool inRename = false;
  bool afterUnendedLine = false;
  size_t insertAt = *length;
  for (size_t at = 0; at < *length;) {
    const Line line = LineAt(text, *length, at);
    bool isRename = false;
    if (IsHeader(text, line, &isRename)) {
      if (found) break;
      inRename = isRename;
    }
    if (inRename && !IsBlankLine(text, line)) {
      found = true;
      insertAt = line.next;
      afterUnendedLine = HasNoLineEnd(text, *length, line);
    }
    at = line.next;
  }

  const bool newSection = !found;
  const bool endBeforeHeader = newSection && *length > 0 && text[*length - 1] != '\n';
  const size_t lineEnd = sizeof kLineEnd - 1;
  const size_t used = (endBeforeHeader ? lineEnd : 0) + (newSection ? sizeof kRenameHeader - 1 + lineEnd : 0) +
                      TextLength(key) + 1 + TextLength(value) + lineEnd;
  if (used > capacity - *length) return false;

  for (size_t i = *length; i > insertAt; --i) text[i - 1 + used] = text[i - 1];
  char* out = text + insertAt;
  if (endBeforeHeader) Append(&out, kLineEnd);
  if (newSection) {
    Append(&out, kRenameHeader);
    Append(&out, kLineEnd);
  }
  if (afterUnendedLine) Append(&out, kLineEnd);
  Append(&out, key);
  Append(&out, "=");
  Append(&out, value);
  if (!afterUnendedLine) Append(&out, kLineEnd);
  *length += used;
  return true;
}

size_t RemoveRenameLines(char* text, size_t* length, const char* key, const char* value) {
  if (key == nullptr || key[0] == '\0') return 0;
  size_t removed = 0;
  size_t at = 0;
  bool inRename = false;
  Line line = {0, 0, 0};
  size_t valueFrom = 0;
  size_t valueTo = 0;
  while (NextRenameEntry(text, *length, &at, &inRename, key, value, &line, &valueFrom, &valueTo)) {
    // A last line without a line end goes with the line end before it,
    // the reverse of AddRenameLine.
    size_t from = line.start;
    if (HasNoLineEnd(text, *length, line) && from > 0) {
      --from;
      if (from > 0 && text[from - 1] == '\r') --from;
    }
    const size_t gone = line.next - from;
    for (size_t i = line.next; i < *length; ++i) text[i - gone] = text[i];
    *length -= gone;
    at = line.start;
    ++removed;
  }
  return removed;
}

size_t FindRenameValue(const char* text, size_t length, const char* key, char* out, size_t outSize) {
  if (outSize > 0) out[0] = '\0';
  if (key == nullptr || key[0] == '\0') return 0;
  bool found = false;
  size_t foundFrom = 0;
  size_t foundTo = 0;
  size_t at = 0;
  bool inRename = false;
  Line line = {0, 0, 0};
  size_t valueFrom = 0;
  size_t valueTo = 0;
  while (NextRenameEntry(text, length, &at, &inRename, key, nullptr, &line, &valueFrom, &valueTo)) {
    found = true;
    foundFrom = valueFrom;
    foundTo = valueTo;
  }
  if (!found) return 0;
  const size_t needed = foundTo - foundFrom + 1;
  if (needed > outSize) return needed;
  for (size_t i = foundFrom; i < foundTo; ++i) out[i - foundFrom] = text[i];
  out[foundTo - foundFrom] = '\0';
  return needed;
}

}  // namespace wininit
