// Which running programs belong to an earlier installation, without Win32.
#pragma once
#include <string>

// Upper-cases the ASCII letters a to z only; double-byte characters and all
// other bytes stay as they are.
std::string UpperAscii(const std::string& text);

// True when a program's file path (any case) contains the recorded install
// folder (any case) and does not contain "SETUP.EXE".  An empty folder
// matches nothing.
bool IsProductProcess(const std::string& programPath, const std::string& recordedFolder);
