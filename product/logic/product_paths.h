// Path text of the installed product's programs, without Win32.
//
// Paths are ANSI strings in code page 949.  Its trail bytes are never 0x5C,
// so a byte scan for backslashes cannot cut a Korean character in two.
#pragma once
#include "common/text.h"

// The product's programs split, join and compare paths with the shared
// path text.
#include "common/path_text.h"

// Removes "." and ".." components textually: "C:\A\B\..\..\X" gives "C:\X".
// A ".." at the root stays at the root, as the file system does.
Text CollapseDots(const Text& path);
