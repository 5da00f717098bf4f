// Start-up path handling without Win32.
#include "startup_path.h"

#include <cstring>

bool CopyProgramPath(const char* commandLine, char* out, std::size_t outSize) {
  if (outSize == 0) return false;
  out[0] = '\0';
  const char* p = commandLine;
  while (*p == ' ' || *p == '\t') ++p;
  // The C runtime's rule for argv[0]: a quote toggles quoting, and outside
  // quotes a blank or tab ends the word.  Backslashes are taken literally.
  std::size_t n = 0;
  bool quoted = false;
  for (; *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && (*p == ' ' || *p == '\t')) break;
    if (n + 1 >= outSize) {
      out[0] = '\0';
      return false;
    }
    out[n++] = *p;
  }
  out[n] = '\0';
  return true;
}

void CutAtLastBackslash(char* path) {
  std::size_t n = std::strlen(path);
  while (n > 0 && path[n] != '\\') --n;
  path[n] = '\0';
}

bool AppendBounded(char* buf, std::size_t bufSize, const char* tail) {
  std::size_t have = std::strlen(buf);
  std::size_t add = std::strlen(tail);
  if (have + add + 1 > bufSize) return false;
  std::memcpy(buf + have, tail, add + 1);
  return true;
}

bool CopyBounded(char* buf, std::size_t bufSize, const char* src) {
  if (bufSize == 0) return false;
  std::size_t len = std::strlen(src);
  if (len + 1 > bufSize) {
    buf[0] = '\0';
    return false;
  }
  std::memcpy(buf, src, len + 1);
  return true;
}
