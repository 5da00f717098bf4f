// What the product's programs know of their installation: setup's records in
// win.ini and the program's own file.
#pragma once
#include "common/path_text.h"
#include "common/text.h"

// A value of the win.ini section "Corvane"; "" when it is absent.
Text ProfileValue(const char* key);

// The full path of this program's file, and its folder.
Text OwnProgramPath();
Text OwnFolder();

// The install folder: setup's record, else the folder this program runs from.
Text ProductFolder();

// The 8.3 form of an existing path ("" when the system cannot give one).
// Windows 95/98 report a program's path in the form it was started with, so
// a path may come in either form.
Text ShortPathOf(const Text& path);

// The Windows folder, without a trailing backslash.
Text WindowsFolder();

bool FileExists(const Text& path);
bool FolderExists(const Text& path);
