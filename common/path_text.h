// Path text as Windows reads it, without Win32: the one spelling of a path
// that the file system treats as the same, and comparisons in any ASCII case.
//
// Paths are ANSI strings in code page 949.  Its trail bytes are never a
// backslash, slash, dot, blank or colon, so a byte scan for those cannot cut
// a Korean character in two; letter case is folded for ASCII only, never for
// a trail byte, as the Windows 95 file system compares names.
#pragma once
#include <stddef.h>
#include "common/text.h"

// Every path buffer handed to Windows (GetFullPathNameA, the registry's and
// win.ini's path values, the Start menu's folders) is this long.
constexpr size_t kPathBufferSize = 600;

// The canonical text of a path: slashes become backslashes, a "\\?\" or
// "\\.\" prefix goes ("\\?\UNC\s\x" is "\\s\x"), duplicate backslashes fold
// (a "\\server\share" start stays), "." and ".." components are resolved (no
// ".." above the root), trailing dots and blanks of each component go, since
// Windows drops them ("C:\windows." is "C:\windows"), a drive letter is upper
// case, and there is no trailing backslash except at a drive root ("C:\").
// A component of three or more dots stays as written: Windows 95 reads "..."
// as two levels up, Windows NT as ".", so no text can say where it leads.
Text CanonicalPathText(const Text& path);

// Length of the root of a canonical path: 3 for "C:\", the whole
// "\\server\share" for a share (as much as is there), 2 for a drive-relative
// "C:", 1 for "\", 0 for a relative path.
size_t CanonicalRootLength(const Text& canonical);

// True for a canonical path that starts at a drive root or a complete share.
bool IsAbsolutePath(const Text& canonical);

// ASCII letters in upper case; a Korean character's bytes stay as they are,
// its trail byte too, though it may have a lower-case letter's value.
Text FoldCase(const Text& text);

// The same path in any ASCII letter case, a trailing backslash ignored.
bool SamePath(const Text& a, const Text& b);

// True when `path` lies inside `folder` (at any depth), compared in any ASCII
// letter case at component boundaries: a folder is not inside itself, and
// "C:\AB" is not inside "C:\A".  Nothing is inside "".
bool IsInsideFolder(const Text& path, const Text& folder);

// folder + "\" + name, without a second backslash after a folder that ends in
// one; an empty folder gives the name alone.
Text JoinPath(const Text& folder, const Text& name);

// The folder part of a path, without its last backslash ("C:\A\B.EXE" gives
// "C:\A"); a root keeps its whole root ("C:\X.EXE" gives "C:\", a share's
// file its "\\server\share").  A path without a backslash gives "".
Text FolderOf(const Text& path);

// The part after the last backslash: the whole path when it has none.
Text NameOf(const Text& path);

// True when `path` names an entry directly in `folder` (not deeper), in any
// ASCII letter case.  Nothing is directly in "".
bool IsDirectlyIn(const Text& path, const Text& folder);
