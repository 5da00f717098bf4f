// Path text of the installed product's programs.
#include "product/logic/product_paths.h"

#include "common/list.h"

namespace {

// "C:\" and "\\server\share\" style starts are kept whole; everything after
// is split at backslashes.
size_t RootLength(const Text& path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
  if (path.size() >= 2 && path[1] == ':') return 2;
  if (path.compare(0, 2, "\\\\") == 0) {
    size_t share = path.find('\\', 2);
    if (share == Text::npos) return path.size();
    size_t end = path.find('\\', share + 1);
    return end == Text::npos ? path.size() : end + 1;
  }
  if (!path.empty() && path[0] == '\\') return 1;
  return 0;
}

}  // namespace

Text CollapseDots(const Text& path) {
  size_t root = RootLength(path);
  List<Text> parts;
  size_t at = root;
  while (at <= path.size()) {
    size_t end = path.find('\\', at);
    if (end == Text::npos) end = path.size();
    Text part = path.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  Text collapsed = path.substr(0, root);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) collapsed += '\\';
    collapsed += parts[i];
  }
  return collapsed;
}
