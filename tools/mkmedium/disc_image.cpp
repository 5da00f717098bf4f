// The setup medium as a CD-ROM image.
#include "disc_image.h"

#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

#include "install/medium_files.h"
#include "names.h"

extern char** environ;

namespace fs = std::filesystem;

namespace medium {
namespace {

constexpr size_t kJolietNameUnits = 64;
constexpr size_t kJolietLabelUnits = 16;
// The Joliet format reserves these; '/' and '\' and NUL cannot be in a host
// name anyway.
const char kJolietForbidden[] = "*/:;?\\";
// mkisofs with Joliet names: the names of the build machine (UTF-8) become
// UTF-16 on the disc, which every Windows of the 9x and NT families reads.
const char kImageTool[] = "xorrisofs";

// UTF-16 units of a UTF-8 name; -1 when it is not UTF-8.
long Utf16Units(const std::string& name) {
  long units = 0;
  for (size_t i = 0; i < name.size();) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > name.size()) return -1;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) return -1;
    }
    units += length == 4 ? 2 : 1;
    i += length;
  }
  return units;
}

// The name in code page 949, as a Korean Windows gives it to setup; false
// when a character has no place there.
bool ToCodePage949(const std::string& name, std::string* out) {
  iconv_t cd = iconv_open("CP949", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = name;
  std::vector<char> buffer(name.size() * 2 + 1);
  char* from = in.data();
  size_t fromLeft = in.size();
  char* to = buffer.data();
  size_t toLeft = buffer.size();
  const size_t done = iconv(cd, &from, &fromLeft, &to, &toLeft);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1) || fromLeft != 0) return false;
  out->assign(buffer.data(), static_cast<size_t>(to - buffer.data()));
  return true;
}

bool CheckFolder(const fs::path& folder, const fs::path& shown, std::string* error) {
  std::map<std::string, std::string> seen;  // by name in code page 949
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    const std::string where = (shown / name).string();
    const std::string problem = DiscNameProblem(name);
    if (!problem.empty()) {
      *error = where + ": " + problem;
      return false;
    }
    if (!e.is_regular_file() && !e.is_directory()) {
      *error = where + ": neither a file nor a folder";
      return false;
    }
    std::string local;
    ToCodePage949(name, &local);
    for (const auto& other : seen) {
      if (payload::NamesEqual(other.first.data(), other.first.size(), local.data(), local.size())) {
        *error = where + ": differs from " + (shown / other.second).string() +
                 " only in letter case; Windows finds one of them for both";
        return false;
      }
    }
    seen.emplace(local, name);
    if (e.is_directory() && !CheckFolder(e.path(), shown / name, error)) return false;
  }
  if (ec) {
    *error = "cannot read " + folder.string() + ": " + ec.message();
    return false;
  }
  return true;
}

// Runs the image tool; what it prints (a banner and notes even when quiet)
// is kept for the message of a failure.
bool RunImageTool(const std::vector<std::string>& args, std::string* error) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::FILE* output = std::tmpfile();
  if (!output) {
    *error = "cannot make a temporary file";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fileno(output), 1);
  posix_spawn_file_actions_adddup2(&actions, fileno(output), 2);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, kImageTool, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  while (started == 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  std::string printed;
  std::rewind(output);
  for (int c; (c = std::fgetc(output)) != EOF;) printed.push_back(static_cast<char>(c));
  std::fclose(output);
  if (started != 0) {
    *error = std::string("cannot run ") + kImageTool + " (package xorriso): " + std::strerror(started);
    return false;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    *error = std::string(kImageTool) + " failed:\n" + printed;
    return false;
  }
  return true;
}

}  // namespace

std::string AutorunText() {
  const std::string setup = kSetupProgramFile;
  return "[autorun]\r\nopen=" + setup + "\r\nicon=" + setup + "\r\n";
}

std::string DiscNameProblem(const std::string& name) {
  const long units = Utf16Units(name);
  if (units < 0) return "the name is not UTF-8, so the disc cannot carry it as written";
  if (static_cast<size_t>(units) > kJolietNameUnits) {
    return "longer than the " + std::to_string(kJolietNameUnits) + " characters a Joliet name may have";
  }
  for (char c : name) {
    if (std::string(kJolietForbidden).find(c) != std::string::npos) {
      return std::string("'") + c + "' cannot be in a Joliet name";
    }
  }
  std::string local;
  if (!ToCodePage949(name, &local)) return "has a character that code page 949 cannot write";
  if (!payload::IsPlainFileName(local.c_str())) {
    return "not a file name Windows keeps as written (a control character, \" < > |, a blank or dot at its end, a "
           "device name)";
  }
  return std::string();
}

std::string LabelProblem(const std::string& label) {
  if (label.empty() || label.size() > kJolietLabelUnits) {
    return "a volume label has 1 to " + std::to_string(kJolietLabelUnits) + " characters";
  }
  for (char c : label) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) {
      return "a volume label has only upper-case letters, digits and '_'";
    }
  }
  return std::string();
}

bool CheckDiscNames(const fs::path& folder, std::string* error) { return CheckFolder(folder, folder, error); }

bool WriteDiscImage(const fs::path& folder, const fs::path& iso, const std::string& label, std::string* error) {
  // An older image must not pass for this medium's.
  std::error_code ec;
  fs::remove(iso, ec);
  const std::string labelProblem = LabelProblem(label);
  if (!labelProblem.empty()) {
    *error = "volume label " + label + ": " + labelProblem;
    return false;
  }
  {
    std::ofstream out(folder / kAutorunName, std::ios::binary | std::ios::trunc);
    out << AutorunText();
    if (!out) {
      *error = "cannot write " + (folder / kAutorunName).string();
      return false;
    }
  }
  if (!CheckDiscNames(folder, error)) return false;
  // -r gives every file Rock Ridge read-only modes for Unix readers;
  // Windows reads the Joliet names.
  if (!RunImageTool({kImageTool, "-quiet", "-input-charset", "UTF-8", "-J", "-r", "-V", label, "-o", iso.string(),
                     folder.string()},
                    error)) {
    fs::remove(iso, ec);
    return false;
  }
  return true;
}

}  // namespace medium
