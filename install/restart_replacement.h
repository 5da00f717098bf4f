// Withdrawing a replacement that the support library arranged for the next
// start of Windows, because the file was in use.
#pragma once
#include "common/text.h"

// Removes the pending replacement of `path` and deletes the new file that
// was waiting for it.  The old file stays where it is.
void WithdrawRestartReplacement(const Text& path);
