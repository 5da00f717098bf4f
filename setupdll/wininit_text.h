// WININIT.INI as text, without Win32. Windows 95/98 carry out the file's
// [rename] section once, in real mode, at the next start: "target=source"
// moves source over target, "NUL=path" deletes path. The section may hold
// several lines with the same key (several NUL lines, two renames of one
// target), which the profile functions would merge, and other programs'
// lines that must survive our edits, so the file is edited as text: every
// line we do not add or remove stays byte for byte.
//
// The text is text[0, length) in a buffer of capacity bytes; it needs no
// terminator. Lines end in LF or CR LF; the last one may have no line end.
// Keys and values compare as file names do: ASCII letters without regard to
// case, the bytes of code page 949 double-byte characters exactly.
#pragma once

#include <stddef.h>

namespace wininit {

// How many bytes AddRenameLine may add for this key and value at most.
size_t AddedSize(const char* key, const char* value);

// Adds "key=value" after the last non-blank line of the first [rename]
// section (before the blank lines and the section that follow it), or, when
// there is no such section, "[rename]" and the line at the end of the text.
// The new line ends in CR LF, except after a last line that has no line end:
// there it takes the line end before it ("...X" becomes "...X\r\nkey=value"),
// so that removing it gives back the very same text. False, with the text
// unchanged, when the result would not fit in capacity, or for an empty key
// or value, a key with "=", or either holding a line end.
bool AddRenameLine(char* text, size_t* length, size_t capacity, const char* key, const char* value);

// Removes every line of every [rename] section whose key equals key and,
// when value is not null, whose value equals value (blanks around the key
// and the value do not count). Returns how many lines went. A [rename]
// header left without lines stays.
size_t RemoveRenameLines(char* text, size_t* length, const char* key, const char* value);

// The value of the last [rename] line whose key equals key: the rename that
// decides what becomes of key at the start. Returns 0 when there is none;
// otherwise the bytes the value needs with its terminator, and it is copied
// to out only when that is at most outSize (out is "" otherwise).
size_t FindRenameValue(const char* text, size_t length, const char* key, char* out, size_t outSize);

}  // namespace wininit
