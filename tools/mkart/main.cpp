// mkart OUTDIR: writes the bitmaps and icons of SETUP.EXE into OUTDIR, under
// the names that resources/setup.rc reads.
#include <cstdio>
#include <exception>
#include <string>

#include "art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkart OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  struct Picture {
    const char* name;
    mkart::Indexed (*draw)();
  };
  const Picture pictures[] = {
      {"scan_side.bmp", mkart::ScanSide},         {"welcome_side.bmp", mkart::WelcomeSide},
      {"userinfo_side.bmp", mkart::UserInfoSide}, {"folder_side.bmp", mkart::FolderSide},
      {"confirm_side.bmp", mkart::ConfirmSide},   {"finish_side.bmp", mkart::FinishSide},
      {"gradient.bmp", mkart::GradientStrip},     {"logo.bmp", mkart::Logo},
  };
  struct Icon {
    const char* name;
    mkart::Icon16 (*draw)();
  };
  const Icon icons[] = {{"setup_file.ico", mkart::SetupFileIcon}, {"product.ico", mkart::ProductIcon}};
  try {
    for (const Picture& p : pictures) {
      if (!mkart::WriteBytes(dir + "/" + p.name, mkart::BmpFile(p.draw()))) {
        std::fprintf(stderr, "mkart: cannot write %s/%s\n", dir.c_str(), p.name);
        return 1;
      }
    }
    for (const Icon& i : icons) {
      if (!mkart::WriteBytes(dir + "/" + i.name, mkart::IcoFile(i.draw()))) {
        std::fprintf(stderr, "mkart: cannot write %s/%s\n", dir.c_str(), i.name);
        return 1;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkart: %s\n", e.what());
    return 1;
  }
  return 0;
}
