// What the user-information page (113) offers and records; a silent install
// does the same without the page.
#pragma once
#include <string>

// The name and company that other setup programs recorded for the user.
void ReadOfferedUser(std::string* name, std::string* company);
// What the page's Next records in win.ini.
void RecordUser(const std::string& name, const std::string& company);
