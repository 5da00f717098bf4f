// Registers the installed product with the shell: program group, shortcuts,
// win.ini records and the uninstall entry.
#pragma once

void RegisterWithShell();
