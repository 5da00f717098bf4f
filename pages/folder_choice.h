// The install-folder page's arithmetic, without Win32.
#pragma once
#include <stddef.h>

// Install folder for a chosen parent folder: the path plus "Corvane", with a
// backslash between unless the path already ends in one (a drive root).
// Returns false, leaving folder as it was, when the result would not fit.
bool MakeInstallFolder(const char* chosen, char* folder, size_t folderSize);

// The text of the one-line folder display: the folder itself up to 30 bytes,
// beyond that its first 3 bytes, "..." and its last 18 bytes.  Cut by bytes,
// even inside a double-byte character.
void FolderDisplayText(const char* folder, char* out, size_t outSize);
