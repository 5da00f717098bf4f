// The uninstaller's hand-over to a copy of itself in the TEMP folder, so that
// its own file in the install folder can be deleted.
#pragma once
#include "common/text.h"

// Copies this program into the TEMP folder and starts the copy to remove
// `installFolder`.  True when the copy runs; this process should then end.
bool HandOverToCopy(const Text& installFolder);

// After a removal that ran here, in the install folder: a copy in TEMP waits
// for this process to end, then deletes `ownFile` and its folder if that is
// empty, and the emptied folders above it up to `madeAbove` (the outermost
// that setup made; "" for none).  True when the copy runs.
bool HandOverCleanup(const Text& ownFile, const Text& madeAbove);

// In the copy: waits (a few seconds at most) for the original to end.
void WaitForOriginal(unsigned long processId);
