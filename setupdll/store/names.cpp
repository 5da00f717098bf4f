// File names and paths as Windows 9x treats them, in code page 949.
#include "names.h"

#include "common/bounded_text.h"
#include "common/memory.h"

namespace payload {
namespace {

bool is_trail_byte(unsigned char c) {
  return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
}

unsigned char fold(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool is_forbidden_single_byte(unsigned char c) {
  if (c < 0x20) return true;
  for (const char* f = "\\/:*?\"<>|"; *f; ++f)
    if (static_cast<unsigned char>(*f) == c) return true;
  return false;
}

// CON, AUX, COM1 and friends name devices in every folder, also with an
// extension ("NUL.TXT"); a file of that name cannot be made.
bool is_device_name(const char* name, size_t length) {
  static const char* const kDevices[] = {"CON",  "PRN",  "AUX",  "NUL",  "CLOCK$", "COM1", "COM2",
                                         "COM3", "COM4", "COM5", "COM6", "COM7",   "COM8", "COM9",
                                         "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",   "LPT6", "LPT7",
                                         "LPT8", "LPT9"};
  size_t base = 0;
  while (base < length && name[base] != '.') ++base;
  for (const char* device : kDevices) {
    if (names_equal(name, base, device, TextLength(device))) return true;
  }
  return false;
}

// Index just past the last backslash of a zero-terminated path, or 0.
size_t after_last_backslash(const char* path) {
  size_t after = 0;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    if (is_lead_byte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
      ++i;
    } else if (path[i] == '\\') {
      after = i + 1;
    }
  }
  return after;
}

}  // namespace

bool is_lead_byte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool names_equal(const char* a, size_t a_length, const char* b, size_t b_length) {
  if (a_length != b_length) return false;
  for (size_t i = 0; i < a_length; ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (is_lead_byte(x)) {
      if (x != y || i + 1 >= a_length || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (fold(x) != fold(y)) {
      return false;
    }
  }
  return true;
}

bool is_plain_file_name(const char* name) {
  if (name == nullptr) return false;
  const size_t length = TextLength(name);
  if (length == 0 || length > 255) return false;
  bool only_dots = true;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (is_lead_byte(c)) {
      if (i + 1 >= length || !is_trail_byte(static_cast<unsigned char>(name[i + 1]))) return false;
      ++i;
      only_dots = false;
    } else if (is_forbidden_single_byte(c)) {
      return false;
    } else if (c != '.') {
      only_dots = false;
    }
  }
  if (only_dots) return false;
  // A trailing byte of 0x20 or '.' is never the second byte of a character.
  const char last = name[length - 1];
  if (last == '.' || last == ' ' || name[0] == ' ') return false;
  return !is_device_name(name, length);
}

bool join_path(char* out, size_t out_size, const char* folder, const char* name) {
  if (out_size == 0) return false;
  out[0] = '\0';
  const size_t folder_length = TextLength(folder);
  if (folder_length == 0) return false;
  const bool has_separator = after_last_backslash(folder) == folder_length;
  const size_t name_length = TextLength(name);
  const size_t total = folder_length + (has_separator ? 0 : 1) + name_length;
  if (total + 1 > out_size) return false;
  CopyBytes(out, folder, folder_length);
  size_t at = folder_length;
  if (!has_separator) out[at++] = '\\';
  CopyBytes(out + at, name, name_length + 1);
  return true;
}

bool sibling_path(char* out, size_t out_size, const char* path, const char* name) {
  if (out_size == 0) return false;
  out[0] = '\0';
  const size_t folder_length = after_last_backslash(path);
  if (folder_length == 0) return false;
  const size_t name_length = TextLength(name);
  if (folder_length + name_length + 1 > out_size) return false;
  CopyBytes(out, path, folder_length);
  CopyBytes(out + folder_length, name, name_length + 1);
  return true;
}

}  // namespace payload
