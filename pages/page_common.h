// What every page does: open, hand over to the next page, ask about
// quitting, and let messages through while a job runs.
#pragma once
#include <windows.h>

// What a page with nothing else to show does when it opens: centre itself
// on the screen, keyboard focus to Next.
void InitPlainPage(HWND page);
// Keyboard focus to button 1.
void FocusNext(HWND page);
// Ends the page, then opens the next one inside this handler.
void HandOver(HWND page, int nextTemplateId);
// The common part of every command handler: Cancel asks to quit, and the
// flow table decides where the other buttons lead.
void FollowFlow(HWND page, int pageId, int command);
// "Do you want to end the setup?"; OK performs the quit action.
void ConfirmQuit(HWND page);
// A question about quitting, as a message box owned by the page.  While it
// is open, QuitQuestionOpen() is true: a job or scan whose start timer fires
// meanwhile waits for the answer, so that a confirmed quit starts nothing.
int AskAboutQuitting(HWND page, const char* text, UINT type);
bool QuitQuestionOpen();
// Ends the page and asks the backdrop to end setup.
void QuitSetup(HWND page);
// Takes every queued message of the thread and dispatches it, as the page
// jobs do between units of work.  Returns false, leaving the quit message
// queued, once setup is ending.
bool DrainMessages();
