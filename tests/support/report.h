// Reporting from the helpers: code page 949 text made readable in a UTF-8
// log, and where the helpers that act on other programs report what went
// wrong.
#pragma once

#include <string>

namespace report {

// Code page 949 text as UTF-8 in double quotes, with line breaks and other
// control bytes written as escapes, so that a difference in them shows.
std::string Show(const std::string& cp949);

// The end-to-end driver counts these as failed checks; a GoogleTest program
// looks at the helpers' results instead.  Unset, nothing is reported.
using FailureSink = void (*)(const std::string& message);
void SendFailuresTo(FailureSink sink);
void Failure(const std::string& message);

}  // namespace report
