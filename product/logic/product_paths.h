// Path text of the installed product's programs, without Win32.
//
// Paths are ANSI strings in code page 949.  Its trail bytes are never 0x5C,
// so a byte scan for backslashes cannot cut a Korean character in two.
#pragma once
#include "common/text.h"

// The product's programs compare paths with the shared SamePath and
// IsInsideFolder.
#include "common/path_text.h"

// The folder part of a path, without its last backslash ("C:\A\B.EXE" gives
// "C:\A"); a drive root keeps its backslash ("C:\X.EXE" gives "C:\").  A path
// without a backslash gives "".
Text FolderOf(const Text& path);

// The part after the last backslash.
Text NameOf(const Text& path);

// Removes "." and ".." components textually: "C:\A\B\..\..\X" gives "C:\X".
// A ".." at the root stays at the root, as the file system does.
Text CollapseDots(const Text& path);
