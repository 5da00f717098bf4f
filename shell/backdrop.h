// The full-screen backdrop window, which owns every window of the wizard, and
// the window classes of the shell.
#pragma once
#include <windows.h>

// Module of every resource, window, dialog and class.  Written by
// CreateBackdrop before the window exists; read by the backdrop, the logo and
// the preparing dialog, and lent to the wizard.
extern HINSTANCE g_instance;

// Registers the backdrop, logo and progress bar classes; returns the last
// class's atom (0 on failure).
ATOM RegisterSetupClasses(HINSTANCE instance);
// Creates and shows the backdrop, then runs the wizard; returns FALSE when
// the backdrop did not survive its creation.
BOOL CreateBackdrop(HINSTANCE instance);
