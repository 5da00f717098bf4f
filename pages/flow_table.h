// Which page follows which button, without Win32.  Two branches are not in
// the table because they depend on more than the button: the scan-choice
// page's Next (scan page or install-folder page, by the radio button) and the
// confirmation page's Next (copy page, then task page).
#pragma once

// The page that `command` on `page` opens, or 0 when it opens none.
int NextPage(int page, int command);
