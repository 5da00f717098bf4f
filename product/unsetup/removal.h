// Removing what setup made of an installation.  With setup's journal,
// exactly what it names goes: the files setup made, its folders once empty,
// its shortcuts and group, its records; a file it put into the system folder
// goes when its SharedDLLs count says no other program uses it, and files it
// replaced in the Windows or system folder stay.  Without a journal (an
// install made before setup kept one), the install folder, the program group
// with its shortcuts, the two fixed shortcuts, the win.ini section and the
// uninstall entry go, and the Windows and system folders are not touched.
#pragma once
#include "product/logic/unsetup_text.h"
#include "product/unsetup/installation.h"
#include "product/unsetup/others_question.h"

// Ends the product's running programs and removes everything; `question`
// decides whether files of the user's in the install folder go too.  The
// folders go through the folder guard once more first; a refusal removes
// nothing.  This program's own file, when it lies in the install folder, is
// left for its caller: it cannot be deleted while it runs.
RemovalOutcome RemoveInstallation(const Installation& installation, OthersQuestion* question);
