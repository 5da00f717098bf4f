// Path text as Windows reads it.
#include "common/path_text.h"

#include "common/bounded_text.h"
#include "common/list.h"

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

Text WithoutTrailingBackslash(const Text& path) {
  Text trimmed = path;
  while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
  return trimmed;
}

// "\\?\" and "\\.\" hand the rest to the system unparsed; the rest is the path.
Text WithoutDevicePrefix(const Text& path) {
  if (path.compare(0, 4, "\\\\?\\") != 0 && path.compare(0, 4, "\\\\.\\") != 0) return path;
  Text rest = path.substr(4);
  if (FoldCase(rest.substr(0, 4)) == "UNC\\") return "\\\\" + rest.substr(4);
  return rest;
}

bool OnlyDotsAndBlanks(const Text& name) { return name.find_first_not_of(". ") == Text::npos; }

void TrimTrailing(Text* name, const char* characters) {
  size_t keep = name->find_last_not_of(characters);
  name->erase(keep == Text::npos ? 0 : keep + 1);
}

}  // namespace

Text FoldCase(const Text& text) {
  Text folded = text;
  for (size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else {
      folded[i] = UpperAscii(folded[i]);
    }
  }
  return folded;
}

Text CanonicalPathText(const Text& path) {
  Text text = path;
  for (char& c : text)
    if (c == '/') c = '\\';
  text = WithoutDevicePrefix(text);

  Text root;
  bool share = false;
  if (text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':') {
    root = FoldCase(text.substr(0, text.size() > 2 && text[2] == '\\' ? 3 : 2));
  } else if (text.compare(0, 2, "\\\\") == 0) {
    root = "\\\\";
    share = true;
  } else if (!text.empty() && text[0] == '\\') {
    root = "\\";
  }
  // Above a drive root or a share there is nothing; a relative path keeps
  // the ".." that it cannot resolve.
  bool relative = root.empty() || (root.size() == 2 && root[1] == ':');

  List<Text> kept;
  size_t fixed = 0;  // the server and share names of a share path
  size_t at = root.size();
  while (at < text.size()) {
    size_t end = text.find('\\', at);
    if (end == Text::npos) end = text.size();
    Text name = text.substr(at, end - at);
    at = end + 1;
    if (name.empty()) continue;
    if (share && fixed < 2) {
      kept.push_back(name);
      ++fixed;
      continue;
    }
    TrimTrailing(&name, " ");
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (kept.size() > fixed && kept.back() != "..") {
        kept.pop_back();
      } else if (relative) {
        kept.push_back(name);
      }
      continue;
    }
    if (!OnlyDotsAndBlanks(name)) TrimTrailing(&name, ". ");
    kept.push_back(name);
  }

  Text canonical = root;
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) canonical += '\\';
    canonical += kept[i];
  }
  return canonical;
}

size_t CanonicalRootLength(const Text& canonical) {
  if (canonical.size() >= 2 && IsAsciiLetter(canonical[0]) && canonical[1] == ':')
    return canonical.size() >= 3 && canonical[2] == '\\' ? 3 : 2;
  if (canonical.compare(0, 2, "\\\\") == 0) {
    size_t server = canonical.find('\\', 2);
    if (server == Text::npos) return canonical.size();
    size_t end = canonical.find('\\', server + 1);
    return end == Text::npos ? canonical.size() : end;
  }
  return !canonical.empty() && canonical[0] == '\\' ? 1 : 0;
}

bool IsAbsolutePath(const Text& canonical) {
  size_t root = CanonicalRootLength(canonical);
  if (root == 3) return true;
  if (canonical.compare(0, 2, "\\\\") != 0) return false;
  size_t server = canonical.find('\\', 2);
  return server != Text::npos && server > 2 && server + 1 < root;
}

bool SamePath(const Text& a, const Text& b) {
  return FoldCase(WithoutTrailingBackslash(a)) == FoldCase(WithoutTrailingBackslash(b));
}

bool IsInsideFolder(const Text& path, const Text& folder) {
  Text outer = FoldCase(WithoutTrailingBackslash(folder));
  if (outer.empty()) return false;
  if (outer.back() != '\\') outer += '\\';
  Text inner = FoldCase(path);
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0;
}

Text JoinPath(const Text& folder, const Text& name) {
  if (folder.empty()) return name;
  if (folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

Text FolderOf(const Text& path) {
  size_t cut = path.find_last_of('\\');
  if (cut == Text::npos) return "";
  size_t root = CanonicalRootLength(path);
  return cut < root ? path.substr(0, root) : path.substr(0, cut);
}

Text NameOf(const Text& path) {
  size_t cut = path.find_last_of('\\');
  return cut == Text::npos ? path : path.substr(cut + 1);
}

bool IsDirectlyIn(const Text& path, const Text& folder) {
  return !folder.empty() && SamePath(FolderOf(path), folder);
}
