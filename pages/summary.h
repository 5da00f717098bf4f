// The confirmation page's summary text, without Win32.
#pragma once
#include "common/text.h"

struct ComputerFacts {
  Text installFolder;
  Text computerName;
  int majorVersion;
  int minorVersion;
  Text windowsDirectory;
  Text systemDirectory;
};

// The ten-line summary, every line ended by CR LF.  Nothing in it is cut
// except that the whole text is kept below the summary buffer's 5000 bytes.
Text BuildSummary(const ComputerFacts& facts);

// Major and minor version as GetVersion's low word carries them.
void SplitVersion(unsigned long version, int* major, int* minor);
