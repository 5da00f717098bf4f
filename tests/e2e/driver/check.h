// Reporting of the driver: a step log and failures, printed as they happen,
// with code page 949 texts turned into UTF-8 for the terminal.
#pragma once

#include <string>
#include <vector>

#include "support/report.h"
#include "support/text.h"

using report::Show;
using text::Format;

// Items shown one by one, comma-separated; "none" for an empty list.
std::string ShowAll(const std::vector<std::string>& items);

// A step, with the seconds since the driver started.
void Note(const char* format, ...) CORVANE_PRINTF(1, 2);

// Records a failure and lets the scenario go on.
void Fail(const char* format, ...) CORVANE_PRINTF(1, 2);

// Records a failure and ends the scenario: what follows would only fail too.
struct ScenarioAbort {};
[[noreturn]] void Abort(const char* format, ...) CORVANE_PRINTF(1, 2);

// Ends the scenario as skipped (exit code 77): what it shows cannot be shown here.
[[noreturn]] void Skip(const char* why);

int FailureCount();

// Milliseconds since the driver started.
unsigned long Elapsed();

// The checks below record a failure naming `what` and return whether they held.
bool ExpectText(const std::string& seen, const std::string& want, const char* what);
bool ExpectNumber(long long seen, long long want, const char* what);
bool ExpectTrue(bool ok, const char* what);
