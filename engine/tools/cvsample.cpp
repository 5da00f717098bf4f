// cvsample: the engine's test infections on the build machine.
//   cvsample eicar OUT                    the EICAR test file (with CR LF)
//   cvsample cloak|mender|smear|morph|inert IN OUT
//                                         OUT = IN with that test infection
//   cvsample scan FILE...                 what the engine finds in each file
// Infecting an infected file nests the infections (see engine/formats.h).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/samples.h"
#include "engine/scanner.h"
#include "engine/stdio_reader.h"

namespace {

bool ReadFile(const char* path, std::string* bytes) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  char chunk[65536];
  bytes->clear();
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes->append(chunk, n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool WriteFile(const char* path, const std::string& bytes) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

int Scan(int count, char** paths) {
  SignatureSet signatures;
  if (!signatures.Build()) return 2;
  std::vector<unsigned char> buffer(64 * 1024);
  int status = 0;
  for (int i = 0; i < count; ++i) {
    FILE* file = std::fopen(paths[i], "rb");
    Finding finding;
    if (!file) {
      std::printf("%s: cannot read\n", paths[i]);
      status = 2;
      continue;
    }
    StdioReader reader(file);
    bool read = ScanStream(signatures, reader, buffer.data(), buffer.size(), &finding);
    std::fclose(file);
    if (!read) {
      std::printf("%s: cannot read\n", paths[i]);
      status = 2;
    } else if (finding.Found()) {
      std::printf("%s: %s (report %d)\n", paths[i], finding.name, finding.report);
      if (status == 0) status = 1;
    } else {
      std::printf("%s: clean\n", paths[i]);
    }
  }
  return status;
}

int Usage() {
  std::fprintf(stderr,
               "usage: cvsample eicar OUT\n"
               "       cvsample cloak|mender|smear|morph|inert IN OUT\n"
               "       cvsample scan FILE...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string what = argv[1];
  if (what == "scan") return Scan(argc - 2, argv + 2);
  if (what == "eicar") return argc == 3 && WriteFile(argv[2], MakeEicarFile("\r\n")) ? 0 : Usage();
  struct Infector {
    const char* name;
    std::string (*infect)(const std::string&);
  };
  static const Infector kInfectors[] = {{"cloak", InfectCloak}, {"mender", InfectMender},
                                        {"smear", InfectSmear}, {"morph", InfectMorph},
                                        {"inert", InfectInert}};
  for (const Infector& infector : kInfectors) {
    if (what != infector.name) continue;
    std::string original;
    if (argc != 4) return Usage();
    if (!ReadFile(argv[2], &original)) {
      std::fprintf(stderr, "cvsample: cannot read %s\n", argv[2]);
      return 2;
    }
    if (!WriteFile(argv[3], infector.infect(original))) {
      std::fprintf(stderr, "cvsample: cannot write %s\n", argv[3]);
      return 2;
    }
    return 0;
  }
  return Usage();
}
