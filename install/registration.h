// Registers the installed product with the shell: program group, shortcuts,
// win.ini records and the uninstall entry.
// Every change goes through the run's journal, so that it can be undone.
#pragma once

class JournalWriter;

void RegisterWithShell(JournalWriter* journal);
