// The platform-free half of the medium builder.
#include "medium.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "names.h"

namespace medium {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasPrefix(const std::string& value) { return !value.empty() && value[0] == '%'; }

bool EndsWithLnk(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string tail = name.substr(name.size() - 4);
  return payload::NamesEqual(tail.data(), tail.size(), ".LNK", 4);
}

// Splits one line into fields; false for an unterminated quote.
bool SplitFields(const std::string& line, std::vector<std::string>* fields) {
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return true;
    std::string field;
    if (line[i] == '"') {
      const size_t close = line.find('"', i + 1);
      if (close == std::string::npos) return false;
      field = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < line.size() && !IsBlank(line[i])) field += line[i++];
    }
    fields->push_back(field);
  }
}

// Why the profile functions would not give `name` back as written, or "".
// In SETUP.INI a name is a value, of which they drop blanks and a pair of
// quotes, double or single, around it.  It must do as a key as well, for whatever profile
// file it reaches next: there "=" ends the key, and a line that begins with
// ";" or "[" is a comment or a section.  None of these bytes is ever part of
// a two-byte character.
std::string ProfileProblem(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('=') != std::string::npos) return "holds \"=\"";
  if (name.front() == ';' || name.front() == '[') return std::string("begins with \"") + name.front() + "\"";
  if (name.front() == '"' || name.back() == '"') return "begins or ends with a double quote";
  if (name.size() >= 2 && name.front() == '\'' && name.back() == '\'') return "stands in single quotes";
  if (IsBlank(name.front()) || IsBlank(name.back())) return "begins or ends with a blank";
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return "holds a control character";
  }
  return "";
}

// A name that SETUP.INI can hold and the medium's folders can take, or why not.
std::string NameProblem(const std::string& name) {
  const std::string quoted = "\"" + name + "\"";
  const std::string profile = ProfileProblem(name);
  if (!profile.empty()) return quoted + " cannot stand in SETUP.INI: it " + profile;
  if (!payload::IsPlainFileName(name.c_str())) return quoted + " is not a plain file name";
  return "";
}

std::string CheckEntry(const Entry& e) {
  // Setup reads "Error" as the end of a list.
  if (e.value == "Error") return "the value \"Error\" would end the file list";
  if (HasPrefix(e.value)) {
    if (e.value.size() < 2 || std::string("SWsw").find(e.value[1]) == std::string::npos) {
      return "a folder prefix is %S, %W, %s or %w";
    }
  }
  const std::string problem = NameProblem(FileNameOf(e.value));
  if (!problem.empty()) return problem;
  if (e.link == "NO") return "";
  if (e.link == "Error") return "the link \"Error\" would end the link list";
  const std::string linkProblem = NameProblem(e.link);
  if (!linkProblem.empty()) return "link " + linkProblem;
  if (!EndsWithLnk(e.link)) return "link \"" + e.link + "\": a link name ends in .LNK, or is NO";
  // Setup points a manifest shortcut at the install folder and the value as
  // written, prefix included: such a shortcut could never work.
  if (HasPrefix(e.value)) return "a link for a file outside the install folder would point nowhere";
  return "";
}

}  // namespace

bool ParseList(const std::string& text, std::vector<Entry>* entries, std::string* error) {
  entries->clear();
  size_t start = 0;
  int lineNumber = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;

    std::vector<std::string> fields;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (!SplitFields(line, &fields)) {
      *error = where + "a double quote is not closed";
      return false;
    }
    if (fields.size() > 2) {
      *error = where + "expected a file value and at most a link name";
      return false;
    }
    Entry e{fields[0], fields.size() == 2 ? fields[1] : "NO", lineNumber};
    const std::string problem = CheckEntry(e);
    if (!problem.empty()) {
      *error = where + problem;
      return false;
    }
    entries->push_back(e);
  }
  return true;
}

std::string FileNameOf(const std::string& value) {
  return HasPrefix(value) ? value.substr(std::min<size_t>(2, value.size())) : value;
}

std::vector<int> SplitShares(const std::vector<uint64_t>& sizes) {
  const size_t n = sizes.size();
  std::vector<int> shares(n, 0);
  if (n == 0) return shares;
  uint64_t total = std::accumulate(sizes.begin(), sizes.end(), uint64_t{0});
  std::vector<uint64_t> weights = sizes;
  if (total == 0) {
    std::fill(weights.begin(), weights.end(), 1);
    total = n;
  }
  std::vector<uint64_t> remainders(n);
  int given = 0;
  for (size_t i = 0; i < n; ++i) {
    shares[i] = static_cast<int>(weights[i] * 100 / total);
    remainders[i] = weights[i] * 100 % total;
    given += shares[i];
  }
  // Leftover points go to the largest remainders, earlier entries first.
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return remainders[a] > remainders[b]; });
  for (size_t k = 0; given < 100; ++k, ++given) ++shares[order[k]];
  return shares;
}

std::string ManifestKey(size_t number) {
  char key[32];
  std::snprintf(key, sizeof key, "SETUP%03zu", number);
  return key;
}

std::string ManifestText(const std::vector<Entry>& entries, const std::vector<int>& shares) {
  std::string text;
  auto section = [&](const char* name, auto valueOf) {
    text += std::string("[") + name + "]\r\n";
    for (size_t i = 0; i < entries.size(); ++i) {
      text += ManifestKey(i + 1) + "=" + valueOf(i) + "\r\n";
    }
    text += "\r\n";
  };
  section("SetupFiles", [&](size_t i) { return entries[i].value; });
  section("SetupPersent", [&](size_t i) { return std::to_string(shares[i]); });
  section("SetupLink", [&](size_t i) { return entries[i].link; });
  return text;
}

}  // namespace medium
