// Shortcut creation's checks and derived values.
#include "shortcut_defaults.h"

#include "common/bounded_text.h"

bool LinkPathHasLnk(const Text& link) { return UpperAscii(link).find("LNK") != Text::npos; }

unsigned DeriveDescription(const Text& link, Text* description) {
  if (link.size() > kShortcutMaxPath) return kShortcutPathTooLong;
  *description = link.size() >= 4 ? link.substr(0, link.size() - 4) : Text();
  return 0;
}

unsigned DeriveWorkingDirectory(const Text& target, Text* directory) {
  if (target.size() > kShortcutMaxPath) return kShortcutPathTooLong;
  for (size_t i = target.size(); i-- > 1;) {
    if (target[i] == '\\') {
      *directory = target.substr(0, i);
      return 0;
    }
    if (target[i] == ':') {
      *directory = target.substr(0, i + 1);
      return 0;
    }
  }
  return kShortcutNoFolder;
}

unsigned ShortcutResultFor(long hresult) {
  switch (static_cast<unsigned long>(hresult)) {
    case 0x80004005ul: return kShortcutFail;
    case 0x8007000Eul: return kShortcutOutOfMemory;
    default: return kShortcutFailed;
  }
}
