// Reading a SETUP.INI entry.
#include "manifest_entry.h"

#include "common/bounded_text.h"

const char kAbsentValue[] = "Error";

Text ManifestKey(int n) { return "SETUP" + DecimalText(n, 3); }

ResolvedEntry ResolveEntry(const Text& value) {
  ResolvedEntry e{TargetFolder::Install, false, value};
  if (value.empty() || value[0] != '%') return e;
  char kind = value.size() > 1 ? value[1] : '\0';
  switch (kind) {
    case 'S': e.skipIfPresent = true; [[fallthrough]];
    case 's': e.folder = TargetFolder::System; break;
    case 'W': e.skipIfPresent = true; [[fallthrough]];
    case 'w': e.folder = TargetFolder::Windows; break;
    default: break;
  }
  e.name = value.size() > 2 ? value.substr(2) : Text();
  return e;
}
