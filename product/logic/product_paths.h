// Path text of the installed product's programs, without Win32.
//
// Paths are ANSI strings in code page 949.  Its trail bytes are never 0x5C,
// so a byte scan for backslashes cannot cut a Korean character in two.
#pragma once
#include <string>

// The product's programs compare paths with the shared SamePath and
// IsInsideFolder.
#include "common/path_text.h"

// The folder part of a path, without its last backslash ("C:\A\B.EXE" gives
// "C:\A"); a drive root keeps its backslash ("C:\X.EXE" gives "C:\").  A path
// without a backslash gives "".
std::string FolderOf(const std::string& path);

// The part after the last backslash.
std::string NameOf(const std::string& path);

// Removes "." and ".." components textually: "C:\A\B\..\..\X" gives "C:\X".
// A ".." at the root stays at the root, as the file system does.
std::string CollapseDots(const std::string& path);
