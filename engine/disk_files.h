// The engine's work on files on disk: probing one through the scanner and
// carrying out a finding's treatment.  Paths are ANSI, as the caller gives them.
#pragma once
#include <stddef.h>

#include "scanner.h"

// Reads the file at `path` through the scanner; false when it cannot be read.
bool ProbeFileOnDisk(const SignatureSet& signatures, const char* path, unsigned char* buffer,
                     size_t bufferSize, Finding* finding);

// Repairs or deletes the file as `finding` says: a CV_TREAT_* result.  Any
// failure leaves the file as it was and gives CV_TREAT_ENDED.
short TreatFileOnDisk(const char* path, const Finding& finding, unsigned char* buffer, size_t bufferSize);
