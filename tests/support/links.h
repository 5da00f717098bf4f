// Shell link files read back through the shell's own link object, as
// Explorer reads them.
#pragma once

#include <string>

namespace machine {

struct LinkView {
  bool loaded = false;  // the file loads as a shell link
  std::string path;     // the target as stored, environment strings and all
  std::string directory, description, arguments;
};
LinkView ReadLink(const std::string& linkPath);

}  // namespace machine
