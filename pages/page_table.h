// Which handlers each page's template gets.  Each page defines its handlers
// in its own file; which page follows which button is the flow table's.
#pragma once
#include "pages/page_procedure.h"

extern const PageHandlers kWelcomePage;     // welcome_page.cpp
extern const PageHandlers kAgreementPage;   // agreement_page.cpp
extern const PageHandlers kUserInfoPage;    // user_info_page.cpp
extern const PageHandlers kScanChoicePage;  // scan_pages.cpp
extern const PageHandlers kScanPage;        // scan_pages.cpp
extern const PageHandlers kFolderPage;      // folder_page.cpp
extern const PageHandlers kConfirmPage;     // confirm_page.cpp
extern const PageHandlers kCopyPage;        // copy_page.cpp
extern const PageHandlers kTaskPage;        // task_page.cpp
extern const PageHandlers kFinishPage;      // finish_page.cpp

// Opens a page by template id, owned by the backdrop; returns when it and
// every page it opened in turn have ended.
void OpenPage(int templateId);
