// Start-up path handling without Win32.
#include "startup_path.h"

bool CopyProgramPath(const char* commandLine, char* out, size_t outSize) {
  if (outSize == 0) return false;
  out[0] = '\0';
  const char* p = commandLine;
  while (*p == ' ' || *p == '\t') ++p;
  // The C runtime's rule for argv[0]: a quote toggles quoting, and outside
  // quotes a blank or tab ends the word.  Backslashes are taken literally.
  size_t n = 0;
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
  size_t n = TextLength(path);
  while (n > 0 && path[n] != '\\') --n;
  path[n] = '\0';
}
