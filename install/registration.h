// Registers the installed product with the shell: program group, shortcuts,
// win.ini records and the uninstall entry.
// Every change goes through the run's journal, so that it can be undone.
#pragma once

#include "common/text.h"

class JournalWriter;

void RegisterWithShell(const Text& installFolder, JournalWriter* journal);
