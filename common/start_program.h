// Starting a program and going on at once.
#pragma once

// Starts a program as WinExec(commandLine, show) does (the command line as
// given, the show command through STARTF_USESHOWWINDOW), but returns as soon
// as it has started: WinExec waits up to 30 seconds for the program to take
// input, which one without a window never does.  False when it did not start.
bool StartProgram(const char* commandLine, int show);
