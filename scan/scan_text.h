// The scan's path and text handling, without Win32.
#pragma once
#include "common/text.h"

// The current-file field: the path padded with blanks to 74 characters, cut
// after its 79th byte.
Text CurrentFileText(const Text& path);

// The question for a virus found, by report code, holding the whole path and
// the whole virus name.  Codes outside 0..2 are asked as code 2 (the engine
// found something this version does not know how to treat).
Text VirusQuestion(int reportCode, const Text& path, const Text& virus);

// A counter field's next text: its number plus one.
Text NextCount(const Text& current);

// A log line for a treatment's result (1 repaired, 2 deleted, else left).
Text TreatmentLogLine(const Text& path, short result);
