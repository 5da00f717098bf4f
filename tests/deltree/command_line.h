// The command line of DELTREE.EXE: "deltree [/Y] path [path...]".
#pragma once

#include <cstddef>

namespace deltree {

enum class Kind { End, Path, Option };

struct Argument {
  Kind kind;
  const char* text;  // not terminated
  size_t length;
};

// Reads the argument at *cursor and moves the cursor past it. A path in
// double quotes may hold blanks and is one path; so is a run of unquoted
// words that are not switches ("deltree /y C:\Program Files\Corvane" names
// one folder, as setup's removal command may give it). A switch is a word
// that begins with '/', anywhere on the line.
Argument NextArgument(const char** cursor);

// True for the switch /Y (either case).
bool IsYesSwitch(const Argument& argument);

}  // namespace deltree
