// The TEMP file that recording the user deletes, without Win32.
#pragma once
#include <stddef.h>

// Builds TEMP's value + "\" (unless it already ends in one) + "FILE.DAT" in
// out.  Returns false, leaving out empty, when TEMP is unset or empty (a bare
// "\FILE.DAT" would name the root of the current drive) or the path does not
// fit.
bool BuildTempFilePath(const char* temp, char* out, size_t outSize);
