// mkmedium: writes a complete setup medium folder from a product folder, a
// list file and the folder of the medium's programs.
//
//   mkmedium [--level N] [--frame-size MB] [--allow-missing] [--iso FILE.ISO [--label LABEL]]
//            PRODUCT_DIR LIST_FILE PROGRAMS_DIR OUT_DIR
//
// --level is zstd's (0 stores every file), --frame-size the unpacked size of
// the frames that files share (0: a frame per file). OUT_DIR receives SETUP.INI, the payload store _SETUP.PAK with every listed
// file, and the programs SETUP.EXE, _SETUP.DLL, MemChk.exe and _ISDEL.EXE
// (and Corvane.dll when present). The list file has one line per entry:
// the SetupFiles value (a file name, maybe after %S, %W, %s or %w) and an
// optional link name ending in .LNK; a field with blanks goes in double
// quotes, and lines starting with '#' are comments.
//
// With --iso, OUT_DIR also gets AUTORUN.INF and becomes the CD image
// FILE.ISO (disc_image.h), labelled LABEL (CORVANE by default).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "builder.h"
#include "disc_image.h"
#include "progress.h"
#include "store_format.h"

namespace {

[[noreturn]] void Usage() {
  std::fprintf(stderr, "usage: mkmedium [--level N] [--frame-size MB] [--allow-missing] [--iso FILE.ISO [--label LABEL]] PRODUCT_DIR LIST_FILE PROGRAMS_DIR OUT_DIR\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  medium::BuildOptions o;
  std::vector<std::string> positional;
  std::string iso, label = medium::kDefaultLabel;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--level" && i + 1 < argc) {
      char* end = nullptr;
      o.pack.level = static_cast<int>(std::strtol(argv[++i], &end, 10));
      if (*end != '\0' || o.pack.level < 0 || o.pack.level > 22) Usage();
    } else if (arg == "--frame-size" && i + 1 < argc) {
      char* end = nullptr;
      const long megabytes = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || megabytes < 0 || megabytes > 1024) Usage();
      o.pack.frameSize = static_cast<uint32_t>(megabytes) << 20;
    } else if (arg == "--allow-missing") {
      o.allowMissing = true;
    } else if (arg == "--iso" && i + 1 < argc) {
      iso = argv[++i];
    } else if (arg == "--label" && i + 1 < argc) {
      label = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      Usage();
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 4) Usage();
  if (!medium::LabelProblem(label).empty()) {
    std::fprintf(stderr, "mkmedium: volume label %s: %s\n", label.c_str(), medium::LabelProblem(label).c_str());
    return 2;
  }
  o.product = positional[0];
  o.list = positional[1];
  o.programs = positional[2];
  o.out = positional[3];

  o.progress = medium::TerminalProgress(stderr);
  medium::BuildSummary summary;
  std::string error;
  if (!medium::BuildMedium(o, &summary, &error)) {
    std::fprintf(stderr, "mkmedium: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& warning : summary.warnings) std::fprintf(stderr, "mkmedium: warning: %s\n", warning.c_str());
  std::printf("mkmedium: %zu entries, %zu files, %llu bytes packed into %llu bytes (%s)\n", summary.entries,
              summary.files, static_cast<unsigned long long>(summary.fileBytes),
              static_cast<unsigned long long>(summary.storeBytes), (o.out / payload::kStoreFileName).c_str());
  if (!iso.empty()) {
    if (!medium::WriteDiscImage(o.out, iso, label, &error)) {
      std::fprintf(stderr, "mkmedium: %s\n", error.c_str());
      return 1;
    }
    std::printf("mkmedium: disc image %s, volume %s\n", iso.c_str(), label.c_str());
  }
  return 0;
}
