// SETUP.INI in the setup folder, read value by value through the profile
// functions.
#pragma once
#include "common/text.h"

// The value of key SETUPnnn in a section, or "Error" when absent (cut to 599
// characters).
Text ReadManifestString(const char* section, int n);
// The SetupPersent points of entry n (0 when absent or not a number).
int ReadManifestPoints(int n);
