// File names and paths as Windows 9x treats them, in code page 949.
#include "names.h"

#include "common/bounded_text.h"
#include "common/memory.h"

namespace payload {
namespace {

bool IsTrailByte(unsigned char c) {
  return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
}

unsigned char Fold(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool IsForbiddenSingleByte(unsigned char c) {
  if (c < 0x20) return true;
  for (const char* f = "\\/:*?\"<>|"; *f; ++f)
    if (static_cast<unsigned char>(*f) == c) return true;
  return false;
}

// CON, AUX, COM1 and friends name devices in every folder, also with an
// extension ("NUL.TXT"); a file of that name cannot be made.
bool IsDeviceName(const char* name, size_t length) {
  static const char* const kDevices[] = {"CON",  "PRN",  "AUX",  "NUL",  "CLOCK$", "COM1", "COM2",
                                         "COM3", "COM4", "COM5", "COM6", "COM7",   "COM8", "COM9",
                                         "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",   "LPT6", "LPT7",
                                         "LPT8", "LPT9"};
  size_t base = 0;
  while (base < length && name[base] != '.') ++base;
  for (const char* device : kDevices) {
    if (NamesEqual(name, base, device, TextLength(device))) return true;
  }
  return false;
}

// Index just past the last backslash of a zero-terminated path, or 0.
size_t AfterLastBackslash(const char* path) {
  size_t after = 0;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    if (IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
      ++i;
    } else if (path[i] == '\\') {
      after = i + 1;
    }
  }
  return after;
}

}  // namespace

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool NamesEqual(const char* a, size_t aLength, const char* b, size_t bLength) {
  if (aLength != bLength) return false;
  for (size_t i = 0; i < aLength; ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(x)) {
      if (x != y || i + 1 >= aLength || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (Fold(x) != Fold(y)) {
      return false;
    }
  }
  return true;
}

bool IsPlainFileName(const char* name) {
  if (name == nullptr) return false;
  const size_t length = TextLength(name);
  if (length == 0 || length > 255) return false;
  bool onlyDots = true;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c)) {
      if (i + 1 >= length || !IsTrailByte(static_cast<unsigned char>(name[i + 1]))) return false;
      ++i;
      onlyDots = false;
    } else if (IsForbiddenSingleByte(c)) {
      return false;
    } else if (c != '.') {
      onlyDots = false;
    }
  }
  if (onlyDots) return false;
  // A trailing byte of 0x20 or '.' is never the second byte of a character.
  const char last = name[length - 1];
  if (last == '.' || last == ' ' || name[0] == ' ') return false;
  return !IsDeviceName(name, length);
}

bool JoinPath(char* out, size_t outSize, const char* folder, const char* name) {
  if (outSize == 0) return false;
  out[0] = '\0';
  const size_t folderLength = TextLength(folder);
  if (folderLength == 0) return false;
  const bool hasSeparator = AfterLastBackslash(folder) == folderLength;
  const size_t nameLength = TextLength(name);
  const size_t total = folderLength + (hasSeparator ? 0 : 1) + nameLength;
  if (total + 1 > outSize) return false;
  CopyBytes(out, folder, folderLength);
  size_t at = folderLength;
  if (!hasSeparator) out[at++] = '\\';
  CopyBytes(out + at, name, nameLength + 1);
  return true;
}

bool SiblingPath(char* out, size_t outSize, const char* path, const char* name) {
  if (outSize == 0) return false;
  out[0] = '\0';
  const size_t folderLength = AfterLastBackslash(path);
  if (folderLength == 0) return false;
  const size_t nameLength = TextLength(name);
  if (folderLength + nameLength + 1 > outSize) return false;
  CopyBytes(out, path, folderLength);
  CopyBytes(out + folderLength, name, nameLength + 1);
  return true;
}

}  // namespace payload
