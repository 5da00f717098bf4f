// Text helpers shared by setup and the product's programs.
#include "common/bounded_text.h"

#include "common/memory.h"

bool CopyBounded(char* buf, size_t bufSize, const char* src) {
  if (bufSize == 0) return false;
  size_t len = TextLength(src);
  if (len + 1 > bufSize) {
    buf[0] = '\0';
    return false;
  }
  CopyBytes(buf, src, len);
  buf[len] = '\0';
  return true;
}

bool AppendBounded(char* buf, size_t bufSize, const char* tail) {
  size_t have = TextLength(buf);
  size_t add = TextLength(tail);
  if (have + add + 1 > bufSize) return false;
  CopyBytes(buf + have, tail, add);
  buf[have + add] = '\0';
  return true;
}

Text UpperAscii(const Text& text) {
  Text upper = text;
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

Text DecimalText(unsigned long value, size_t minDigits) {
  char digits[24];
  size_t at = sizeof digits;
  if (minDigits > 20) minDigits = 20;
  do {
    digits[--at] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 || sizeof digits - at < minDigits);
  return Text(digits + at, sizeof digits - at);
}

Text SignedDecimalText(long value) {
  // The magnitude as unsigned keeps the smallest value exact.
  unsigned long magnitude = value < 0 ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  return value < 0 ? "-" + DecimalText(magnitude) : DecimalText(magnitude);
}

Text HexText(unsigned long value, size_t minDigits) {
  char digits[16];
  size_t at = sizeof digits;
  if (minDigits > 8) minDigits = 8;
  do {
    digits[--at] = "0123456789ABCDEF"[value & 15];
    value >>= 4;
  } while (value != 0 || sizeof digits - at < minDigits);
  return Text(digits + at, sizeof digits - at);
}

long ParseDecimal(const char* text) {
  const long kMost = static_cast<long>(~0UL >> 1);
  if (!text) return 0;
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    int digit = *text - '0';
    if (value > (kMost - digit) / 10) return negative ? -kMost - 1 : kMost;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

int HexDigitValue(char c) {
  c = UpperAscii(c);
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
