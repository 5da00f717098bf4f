// Start-up path handling without Win32: the program path from the command
// line, the setup folder cut, and bounded appends into fixed buffers.
#pragma once
#include <stddef.h>

#include "common/bounded_text.h"

// Size of the start-up path buffer: program path, current directory and the
// installed-product check's profile value all pass through it in turn.
constexpr size_t kStartupBufferSize = 502;

// Copies the first word of a command line, quotes removed, into out (the
// program path as the argument vector gives it).  A path that does not fit
// leaves out empty and returns false: an unusable path, like an empty one.
bool CopyProgramPath(const char* commandLine, char* out, size_t outSize);

// Cuts path at its last backslash.  The byte at index 0 is never tested and
// only the backslash separates, so "C:\CD\SETUP.EXE" gives "C:\CD",
// "A:\SETUP.EXE" gives "A:" and "SETUP" gives "".
void CutAtLastBackslash(char* path);
