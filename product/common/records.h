// What the product's programs know of their installation: setup's records in
// win.ini and the program's own file.
#pragma once
#include <string>

// Paths and profile values, as setup sizes them.
constexpr unsigned kPathSize = 600;

// A value of the win.ini section "Corvane"; "" when it is absent.
std::string ProfileValue(const char* key);

// The full path of this program's file, and its folder.
std::string OwnProgramPath();
std::string OwnFolder();

// The install folder: setup's record, else the folder this program runs from.
std::string ProductFolder();

// The 8.3 form of an existing path ("" when the system cannot give one).
// Windows 95/98 report a program's path in the form it was started with, so
// a path may come in either form.
std::string ShortPathOf(const std::string& path);

// The Windows folder, without a trailing backslash.
std::string WindowsFolder();

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
