// The TEMP file's path.
#include "install/user_temp_file.h"

#include "common/bounded_text.h"

bool BuildTempFilePath(const char* temp, char* out, size_t outSize) {
  if (outSize) out[0] = '\0';
  if (!temp || !*temp) return false;
  if (!CopyBounded(out, outSize, temp)) return false;
  size_t n = 0;
  while (out[n]) ++n;
  bool ok = (out[n - 1] == '\\' || AppendBounded(out, outSize, "\\")) &&
            AppendBounded(out, outSize, "FILE.DAT");
  if (!ok) out[0] = '\0';
  return ok;
}
