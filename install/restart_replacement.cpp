// Withdrawing a restart replacement of the support library.
#include "install/restart_replacement.h"

#include <windows.h>

void WithdrawRestartReplacement(const std::string& path) { (void)path; }
