// Platform-free pieces of the agreement and user-information pages.
#pragma once
#include <cstddef>

// The licence agreement shown on the agreement page: 17 lines joined by CR LF.
extern const char kAgreementText[];

// Builds TEMP's value + "\" (unless it already ends in one) + "FILE.DAT" in
// out.  Returns false, leaving out empty, when TEMP is unset or empty (a bare
// "\FILE.DAT" would name the root of the current drive) or the path does not
// fit.
bool BuildTempFilePath(const char* temp, char* out, std::size_t outSize);
