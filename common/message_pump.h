// Long work on a window's thread (a copy, a scan) lets the windows paint and
// the buttons answer between its steps.
#pragma once

// Handles the messages waiting in this thread's queue.  False when a WM_QUIT
// was among them: it is posted again for the main loop, and the work stops.
bool PumpWaitingMessages();
