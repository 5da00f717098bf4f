// mkmedium's progress line.
#include "progress.h"

#include <unistd.h>

namespace medium {

std::function<void(const payload::PackProgress&)> TerminalProgress(std::FILE* out) {
  if (!isatty(fileno(out))) return nullptr;
  const auto start = std::chrono::steady_clock::now();
  return [out, start](const payload::PackProgress& p) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double mb = 1024.0 * 1024.0;
    const double ratio = p.bytesIn > 0 ? static_cast<double>(p.bytesOut) / static_cast<double>(p.bytesIn) : 0.0;
    // Frames take time by their size: what is left goes as fast as what is done.
    const double left =
        p.bytesIn > 0 ? seconds * static_cast<double>(p.totalBytesIn - p.bytesIn) / static_cast<double>(p.bytesIn) : 0;
    std::fprintf(out, "\r%zu/%zu files, %.1f of %.1f MB in, %.1f MB out, ratio %.3f, %.0f s left   ", p.members,
                 p.totalMembers, p.bytesIn / mb, p.totalBytesIn / mb, p.bytesOut / mb, ratio, left);
    if (p.members == p.totalMembers) std::fputc('\n', out);
    std::fflush(out);
  };
}

}  // namespace medium
