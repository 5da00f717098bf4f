/* The export of the installer support library _SETUP.DLL, as SETUP.EXE
   resolves and calls it. InitInstall(folder, name) makes folder\name from
   the product file of that name that travels with the library (matched
   without regard to letter case) and returns non-zero on success. An old
   file is replaced whatever its attributes, a read-only one (as an earlier
   copy from a CD leaves it) included; the new file has normal attributes.
   It returns 0, leaving any old file as it was, attributes included, and no
   partial file behind, for an unknown or unsafe name (one with a path
   separator, a drive or ".."), a folder in the way, a damaged or missing
   store, or a file that cannot be written. A file in use is replaced when
   Windows next starts, and that counts as success. */
#ifndef CORVANE_INITINSTALL_H
#define CORVANE_INITINSTALL_H

#include <windows.h>

#include "library_temp.h"

#define CORVANE_INITINSTALL_EXPORT "InitInstall"

#ifdef __cplusplus
extern "C" {
#endif

typedef int(WINAPI* InitInstallFunction)(const char* folder, const char* name);

#ifdef CORVANE_SETUPDLL_BUILD
/* Exported undecorated through setupdll.def. */
int WINAPI InitInstall(const char* folder, const char* name);
#endif

#ifdef __cplusplus
}
#endif

#endif
