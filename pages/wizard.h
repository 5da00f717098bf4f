// The wizard: the pages from the welcome page to the finish page, modal
// dialogs owned by the backdrop, each opening its successor from its own
// command handling.  The shell starts it and tells it when setup ends.
#pragma once
#include <windows.h>

// What the shell lends the wizard.
struct WizardWindows {
  HINSTANCE instance;  // module of every template
  HWND backdrop;       // owner of every page; the quit request goes to it
  HWND logo;           // shown again for the copy page, hidden after it
};

// Opens the welcome page, the install folder at its default; returns when it
// and every page it opened in turn have ended.
void RunWizard(const WizardWindows& windows);

// Setup is ending (the backdrop's destroy handling calls this): a page's job
// still running inside a nested loop stops, and no page follows the copy.
void EndWizard();
