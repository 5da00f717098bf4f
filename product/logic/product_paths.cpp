// Path text of the installed product's programs.
#include "product/logic/product_paths.h"

#include <vector>

namespace {

// "C:\" and "\\server\share\" style starts are kept whole; everything after
// is split at backslashes.
std::size_t RootLength(const std::string& path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
  if (path.size() >= 2 && path[1] == ':') return 2;
  if (path.compare(0, 2, "\\\\") == 0) {
    std::size_t share = path.find('\\', 2);
    if (share == std::string::npos) return path.size();
    std::size_t end = path.find('\\', share + 1);
    return end == std::string::npos ? path.size() : end + 1;
  }
  if (!path.empty() && path[0] == '\\') return 1;
  return 0;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return "";
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
  std::size_t cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string CollapseDots(const std::string& path) {
  std::size_t root = RootLength(path);
  std::vector<std::string> parts;
  std::size_t at = root;
  while (at <= path.size()) {
    std::size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::string collapsed = path.substr(0, root);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) collapsed += '\\';
    collapsed += parts[i];
  }
  return collapsed;
}
