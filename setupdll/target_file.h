// Replacing a file that is there: the new one is unpacked into a temporary
// file beside it, then put in the old one's place, or, while the old one is
// in use, when Windows next starts.
#pragma once

#include <windows.h>

// False for a target that must be left alone: a folder. attributes: the
// target's, 0xFFFFFFFF when it is not there.
bool TargetMayBeReplaced(DWORD attributes);

// Puts the finished temporary file (made by CreateTempFile in target's
// folder) in the place of target, a read-only one included. At every moment
// the old file or the new one is complete under target's name or beside it
// (replace_file.h). A target in use is replaced when Windows next starts
// (WININIT.INI on Windows 95/98, MoveFileExA on NT); that counts as done. On
// failure the temporary file is deleted and the old target is as it was,
// attributes included.
bool PutInPlace(const char* temp, const char* target);
