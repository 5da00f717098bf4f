// The scan's path and text handling, without Win32.
#pragma once
#include <string>

// folder + "\" + name, without a second backslash after a folder that ends in
// one; an empty folder gives the name alone.
std::string JoinPath(const std::string& folder, const std::string& name);

// The current-file field: the path padded with blanks to 74 characters, cut
// after its 79th byte.
std::string CurrentFileText(const std::string& path);

// The question for a virus found, by report code, holding the whole path and
// the whole virus name.  Codes outside 0..2 are asked as code 2 (the engine
// found something this version does not know how to treat).
std::string VirusQuestion(int reportCode, const std::string& path, const std::string& virus);

// A counter field's next text: its number plus one.
std::string NextCount(const std::string& current);

// A log line for a treatment's result (1 repaired, 2 deleted, else left).
std::string TreatmentLogLine(const std::string& path, short result);
