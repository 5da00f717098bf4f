// What the user-information page (113) offers and records; a silent install
// does the same without the page.
#pragma once
#include "common/text.h"

// The name and company that other setup programs recorded for the user.
void ReadOfferedUser(Text* name, Text* company);
// What the page's Next records in win.ini.
void RecordUser(const Text& name, const Text& company);
