// Reading a SETUP.INI entry, without Win32: key names and the folder prefix
// of a SetupFiles value.
#pragma once
#include "common/text.h"

// Size of the buffers that manifest values are read into; a longer value is
// cut to 599 characters.
constexpr int kManifestValueSize = 600;
// What a profile read returns for an absent key, and what ends a list.
extern const char kAbsentValue[];

// "SETUP001" ... "SETUP999", "SETUP1000", ...
Text ManifestKey(int n);

enum class TargetFolder { Install, System, Windows };

struct ResolvedEntry {
  TargetFolder folder;
  bool skipIfPresent;  // upper-case prefix: an existing file stays
  Text name;    // handed to InitInstall with the folder
};

// Resolves a SetupFiles value.  "%S"/"%W" choose the system or Windows
// directory and keep an existing file, "%s"/"%w" the same folders always
// installing; the two prefix characters are dropped from the name.  Any other
// character after "%" (or "%" alone) drops the two characters as well and
// installs into the install folder without an existence test.
ResolvedEntry ResolveEntry(const Text& value);
