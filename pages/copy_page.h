// The copy page (302), opened by the confirmation page's Next: the install
// job with its bar.
#pragma once

// Runs the copy page modally; true when the install job completed (and the
// task page is to follow), false when setup is ending instead.
bool RunCopyPage();
