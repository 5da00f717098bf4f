// What setup knows of its user: the name and company that other setup
// programs recorded, offered on the user-information page and taken by a
// silent install, and the record of the answer in win.ini.
#pragma once
#include "common/text.h"

// The name and company that other setup programs recorded for the user.
void ReadOfferedUser(Text* name, Text* company);
// Records the user in win.ini (the page's Next, or a silent install).
void RecordUser(const Text& name, const Text& company);
