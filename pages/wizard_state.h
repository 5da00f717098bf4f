// The wizard's process-wide state, written by the pages (or by the wizard's
// start and end, which the shell calls).  One thread, no locking.
#pragma once
#include <windows.h>

#include "install/install_folder.h"
#include "pages/wizard.h"

// Written by RunWizard; read by every page.
extern WizardWindows g_wizardWindows;

// The product's target folder.  Set to the default by RunWizard, replaced
// only by the install-folder page's Browse; read by the confirmation page's
// summary, the copy page's install job and the finish page's hand-off.
extern char g_installFolder[kPathBufferSize];

// The follow-up tasks.  Written by the task page's Next, only OR-ed into;
// read by the finish page.
extern unsigned char g_taskMask;

// Set by EndWizard; read by DrainMessages and by the copy page, whose task
// page follows only while setup is not ending.
extern bool g_setupEnding;
