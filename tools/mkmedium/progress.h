// mkmedium's progress line on a terminal while the store is packed: files,
// bytes in and out, the ratio so far and the time left.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>

#include "store_writer.h"

namespace medium {

// A progress callback for BuildOptions that redraws one line of `out`, or
// none when `out` is not a terminal (piped or in CI only the summary line
// is printed).
std::function<void(const payload::PackProgress&)> TerminalProgress(std::FILE* out);

}  // namespace medium
