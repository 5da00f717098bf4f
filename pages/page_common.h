// The wizard pages: modal dialogs owned by the backdrop window, each opening
// its successor from its own command handling.
#pragma once
#include <windows.h>

#include <string>

// Opens a page by template id, owned by the backdrop; returns when it and
// every page it opened in turn have ended.
void OpenPage(int templateId);

// What every page does when it opens: centre itself on the screen.
void CenterPage(HWND page);
// Keyboard focus to button 1.
void FocusNext(HWND page);
// Ends the page, then opens the next one inside this handler.
void HandOver(HWND page, int nextTemplateId);
// "Do you want to end the setup?"; OK performs the quit action.
void ConfirmQuit(HWND page);
// A question about quitting, as a message box owned by the page.  While it
// is open, QuitQuestionOpen() is true: a job or scan whose start timer fires
// meanwhile waits for the answer, so that a confirmed quit starts nothing.
int AskAboutQuitting(HWND page, const char* text, const char* title, UINT type);
bool QuitQuestionOpen();
// Ends the page and asks the backdrop to end setup.
void QuitSetup(HWND page);
// Side pictures are drawn with COLORONCOLOR: where a picture control's edge
// makes Wine stretch the bitmap by two pixels, the default mode leaves stray
// colours in a 256-colour picture.  The message itself goes on to its default
// handling.
void PreparePictureDc(HDC dc);
// The common part of every command handler: Cancel asks to quit, and the
// flow table decides where the other buttons lead.
void FollowFlow(HWND page, int pageId, int command);

// What the user-information page offers (the name and company that other
// setup programs recorded for the user), and what its Next records in
// win.ini; a silent install does the same.
void ReadOfferedUser(std::string* name, std::string* company);
void RecordUser(const std::string& name, const std::string& company);
// The finish page's hand-off: Setup.run holding the task mask in the
// install folder, then _ISDEL.EXE started from the setup folder.
void HandOffTasks(const char* installFolder, unsigned char taskMask);

// Page procedures, one per page (or tightly related pair) in pages/.
INT_PTR CALLBACK WelcomePageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK AgreementPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK UserInfoPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK ScanChoicePageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK ScanPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK FolderPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK ConfirmPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK TaskPageProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK FinishPageProc(HWND, UINT, WPARAM, LPARAM);
