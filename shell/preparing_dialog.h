// The preparing dialog (301): a bar counting to 100 below the logo while
// setup starts, before the backdrop appears.
#pragma once
#include <windows.h>

// Runs the dialog modally, owned by the backdrop; returns when its job has
// ended it, the logo hidden.
void RunPreparingDialog(HWND backdrop);
