// File names and paths as Windows 9x treats them, byte by byte in code page
// 949: member lookup, the check that a name stays inside its folder, and the
// bounded path building of the support library.
#pragma once

#include <stddef.h>

namespace payload {

// First byte of a two-byte character in code page 949.
bool IsLeadByte(unsigned char c);

// Names compared as the file system compares them: ASCII letters without
// regard to case, the bytes of two-byte characters exactly (their second
// bytes include ASCII letters, which must not be folded).
bool NamesEqual(const char* a, size_t aLength, const char* b, size_t bLength);

// True for a name that makes a file directly inside the folder it is given
// with: no separators, drive letters or wildcards, not "." or "..", no
// trailing dot or blank (Windows would drop them), no leading blank (a
// profile value loses it), not a DOS device name, at most 255 bytes.
bool IsPlainFileName(const char* name);

// out := folder + "\" + name, without doubling a backslash that ends the
// folder. False (out empty) when the result does not fit in outSize bytes
// with its terminator, or when folder is empty.
bool JoinPath(char* out, size_t outSize, const char* folder, const char* name);

// out := the folder part of path (up to its last backslash) + "\" + name;
// path is usually a module file name. False when it does not fit or path has
// no backslash.
bool SiblingPath(char* out, size_t outSize, const char* path, const char* name);

}  // namespace payload
