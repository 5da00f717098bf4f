// The finish page's (116) hand-off, which a silent install makes too.
#pragma once

// Setup.run holding the task mask in the install folder, then _ISDEL.EXE
// started from the setup folder.
void HandOffTasks(const char* installFolder, unsigned char taskMask);
