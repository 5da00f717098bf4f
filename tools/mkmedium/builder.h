// Writing a setup medium folder: SETUP.INI, the payload store and the
// medium's programs, from a product folder and a list file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store_writer.h"

namespace medium {

struct BuildOptions {
  std::filesystem::path product;   // folder of the product files
  std::filesystem::path list;      // the list file (see ParseList)
  std::filesystem::path programs;  // folder holding SETUP.EXE, _SETUP.DLL, ...
  std::filesystem::path out;       // the medium folder, made if missing
  payload::PackOptions pack = DefaultPacking();
  bool allowMissing = false;  // a required program missing is a warning only
  // Called as the store is packed (payload::StoreWriter::Finish).
  std::function<void(const payload::PackProgress&)> progress;

  // The smallest medium within the support library's memory: zstd's
  // strongest level, the largest window the library takes, members together
  // in frames of a few windows, on every processor.
  static payload::PackOptions DefaultPacking();
};

struct BuildSummary {
  size_t entries = 0;
  size_t files = 0;  // distinct files packed
  uint64_t fileBytes = 0;
  uint64_t storeBytes = 0;
  std::vector<std::string> warnings;
};

// Files are looked up in the product and programs folders by name, in any
// letter case, as the medium's file system will match them. A file listed
// twice (e.g. to two folders) is packed once. False, with error set, for
// anything that would make a medium setup cannot use.
bool BuildMedium(const BuildOptions& options, BuildSummary* summary, std::string* error);

}  // namespace medium
