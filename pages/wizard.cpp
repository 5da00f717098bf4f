// The wizard's start, its end, and its state.
#include "pages/wizard.h"

#include "common/memory.h"
#include "pages/page_table.h"
#include "pages/wizard_state.h"
#include "resources/ids.h"

WizardWindows g_wizardWindows;
char g_installFolder[kPathBufferSize];
unsigned char g_taskMask;
bool g_setupEnding;

void RunWizard(const WizardWindows& windows) {
  g_wizardWindows = windows;
  static_assert(sizeof kDefaultInstallFolder <= sizeof g_installFolder, "the default folder fits");
  CopyBytes(g_installFolder, kDefaultInstallFolder, sizeof kDefaultInstallFolder);
  OpenPage(IDD_WELCOME);
}

void EndWizard() { g_setupEnding = true; }
