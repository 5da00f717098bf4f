// Deleting a file at the next start of Windows 95/98, without Win32.
//
// Those systems have no working MoveFileEx: WININIT.INI's [rename] section,
// carried out once at the next start, does it instead, one "NUL=<short path>"
// line per file.  The section may hold several NUL lines, which the profile
// functions would merge into one, so the file is edited as text.
#pragma once
#include <string>

// The WININIT.INI text with one more "NUL=<shortPath>" line in its [rename]
// section (made at the end when missing).  Every other line stays as it was;
// lines end in CR LF.
std::string AddDeleteAtRestart(const std::string& content, const std::string& shortPath);
