/* The names of the installer support library's temporary files, without
   Win32: what setup and the uninstaller look for beside the files the
   library makes. */
#ifndef CORVANE_LIBRARY_TEMP_H
#define CORVANE_LIBRARY_TEMP_H

/* The library's temporary files beside a target: CVSxxxx.TMP, four hex
   digits, short as WININIT.INI needs.  One may wait in a folder for the
   next start of Windows (the new copy of a file that was in use), or stay
   behind a run that was ended by force. */
#define CORVANE_INITINSTALL_TEMP_NAME "CVS0000.TMP"
#define CORVANE_INITINSTALL_TEMP_PATTERN "CVS????.TMP"

#endif
