// Writes one shell link file through the shell's link object.  The caller
// brackets the call with CoInitialize/CoUninitialize.  Absent optional
// arguments are NULL.
#pragma once

unsigned CreateShortcut(const char* target, const char* link, const char* description,
                        const char* arguments, const char* workingDirectory,
                        const char* iconPath, int iconIndex);
