// Text helpers shared by setup and the product's programs: copies into fixed
// buffers that never overrun, ASCII letter case, and decimal numbers.
//
// Texts are ANSI in code page 949.  Upper-casing touches the bytes a to z
// only, as the Windows 95 file system folds names.
#pragma once
#include <stddef.h>

#include "common/text.h"

// Copies src into buf when it fits with its terminator; otherwise stores the
// empty string and returns false.
bool CopyBounded(char* buf, size_t bufSize, const char* src);

// Appends tail to the text in buf when the result fits in bufSize bytes with
// its terminator; otherwise leaves buf as it was and returns false.
bool AppendBounded(char* buf, size_t bufSize, const char* tail);

// Upper-cases the ASCII letters a to z only; double-byte characters and all
// other bytes stay as they are.
inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
Text UpperAscii(const Text& text);

// The decimal digits of a number, at least minDigits of them (zeros in
// front).  Numbers stay within 32 bits on Windows: 64-bit division would
// bring in libgcc's helpers for nothing.
Text DecimalText(unsigned long value, size_t minDigits = 1);
// The same with a minus sign before the digits of a negative number.
Text SignedDecimalText(long value);

// The upper-case hexadecimal digits of a number, at least minDigits of them.
Text HexText(unsigned long value, size_t minDigits);

// The value of one hexadecimal digit in either case; -1 for any other byte.
int HexDigitValue(char c);

// The number that a text starts with, as atoi reads it: blanks, then an
// optional sign, then digits; 0 when there are none.  Beyond the range of
// long it stops at the limit.
long ParseDecimal(const char* text);
