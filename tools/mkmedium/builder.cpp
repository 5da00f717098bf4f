// Writing a setup medium folder.
#include "builder.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "engine/engine_api.h"
#include "install/medium_files.h"
#include "medium.h"
#include "names.h"
#include "store_format.h"
#include "store_writer.h"

namespace fs = std::filesystem;

namespace medium {
namespace {

struct Program {
  const char* name;
  bool required;
};

// The medium's programs, under the names setup and the shell use for them.
const Program kPrograms[] = {{kSetupProgramFile, true},    {kSetupLibraryFile, true},
                             {kMemoryCheckFile, true},     {kFollowUpProgramFile, true},
                             {CORVANE_ENGINE_LIBRARY, false}};

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>* bytes, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path.string();
    return false;
  }
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteWholeFile(const fs::path& path, const void* data, size_t size, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) *error = "cannot write " + path.string();
  return static_cast<bool>(out);
}

bool SameName(const std::string& a, const std::string& b) {
  return payload::NamesEqual(a.data(), a.size(), b.data(), b.size());
}

// The file of folder named like name, exactly or else in another letter
// case; empty when there is none or the name is ambiguous there.
fs::path FindIn(const fs::path& folder, const std::string& name, std::string* error) {
  if (fs::is_regular_file(folder / name)) return folder / name;
  fs::path found;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    if (!e.is_regular_file() || !SameName(e.path().filename().string(), name)) continue;
    if (!found.empty()) {
      *error = "both " + found.string() + " and " + e.path().string() + " match " + name;
      return fs::path();
    }
    found = e.path();
  }
  if (found.empty()) *error = "no file " + name + " in " + folder.string();
  return found;
}

// Last-write time as a Windows FILETIME: 100 ns units since 1601.
uint64_t WriteTimeOf(const fs::path& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  const int64_t seconds = static_cast<int64_t>(st.st_mtim.tv_sec) + 11644473600LL;
  if (seconds < 0) return 0;
  return static_cast<uint64_t>(seconds) * 10000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100u;
}

}  // namespace

// On the install benchmark's 105 MB of PE files, level 19 and a 4 MB window:
// a frame per file 27.8 MB (26.9 MB with a 110 KB dictionary trained on the
// files), frames of 4 MB 25.7 MB, 8 MB 23.2 MB, 16 MB 21.9 MB, 32 MB 21.1 MB.
// 16 MB is the largest frame that the library unpacks ahead whole on two
// processors (frame_ahead.h).
payload::PackOptions BuildOptions::DefaultPacking() {
  payload::PackOptions pack;
  pack.level = 19;
  pack.windowLog = payload::kMaxWindowLog;
  pack.frameSize = 16u << 20;
  const unsigned processors = std::thread::hardware_concurrency();
  pack.threads = processors > 0 ? static_cast<int>(processors) : 1;
  return pack;
}

bool BuildMedium(const BuildOptions& o, BuildSummary* summary, std::string* error) {
  *summary = BuildSummary();
  std::vector<uint8_t> listBytes;
  if (!ReadWholeFile(o.list, &listBytes, error)) return false;
  std::vector<Entry> entries;
  if (!ParseList(std::string(listBytes.begin(), listBytes.end()), &entries, error)) {
    *error = o.list.string() + ": " + *error;
    return false;
  }

  payload::StoreWriter writer(o.pack);
  std::vector<std::string> packed;
  std::vector<uint64_t> sizes;
  for (const Entry& e : entries) {
    const std::string name = FileNameOf(e.value);
    const fs::path source = FindIn(o.product, name, error);
    if (source.empty()) {
      *error = "line " + std::to_string(e.line) + ": " + *error;
      return false;
    }
    std::vector<uint8_t> data;
    if (!ReadWholeFile(source, &data, error)) return false;
    sizes.push_back(data.size());
    bool already = false;
    for (const std::string& p : packed) already = already || SameName(p, name);
    if (already) continue;
    if (!writer.Add(name, data.data(), data.size(), WriteTimeOf(source))) {
      *error = writer.Error();
      return false;
    }
    packed.push_back(name);
    summary->fileBytes += data.size();
  }

  std::error_code ec;
  fs::create_directories(o.out, ec);
  if (!fs::is_directory(o.out)) {
    *error = "cannot make " + o.out.string();
    return false;
  }
  const std::string ini = ManifestText(entries, SplitShares(sizes));
  if (!WriteWholeFile(o.out / kManifestFile, ini.data(), ini.size(), error)) return false;
  const std::vector<uint8_t> store = writer.Finish(o.progress);
  if (store.empty()) {
    *error = writer.Error();
    return false;
  }
  if (!WriteWholeFile(o.out / payload::kStoreFileName, store.data(), store.size(), error)) return false;

  for (const Program& p : kPrograms) {
    std::string missing;
    const fs::path from = FindIn(o.programs, p.name, &missing);
    if (from.empty()) {
      if (p.required && !o.allowMissing) {
        *error = missing;
        return false;
      }
      if (p.required) summary->warnings.push_back(missing);
      continue;
    }
    fs::copy_file(from, o.out / p.name, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      *error = "cannot copy " + from.string() + ": " + ec.message();
      return false;
    }
  }
  summary->entries = entries.size();
  summary->files = packed.size();
  summary->storeBytes = store.size();
  return true;
}

}  // namespace medium
