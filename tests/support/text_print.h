// Lets GoogleTest print the shipped code's Text in messages and failures.
#pragma once
#include <ostream>

#include "common/text.h"

inline std::ostream& operator<<(std::ostream& out, const Text& text) { return out << text.c_str(); }
