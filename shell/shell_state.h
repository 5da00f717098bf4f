// Process-wide state of the setup shell.  One thread, no locking.
#pragma once
#include <windows.h>

#include "setupdll/initinstall.h"
#include "startup_path.h"

// Size of every path and profile-value buffer of the program.
constexpr int kPathBufferSize = 600;

// Set by the backdrop creation step before the window exists; module of every
// resource, window, dialog and class.
extern HINSTANCE g_instance;
// Set when the backdrop's CreateWindowExA returns (still NULL while its
// creation handler runs).  Owner of every page; the quit request goes to it.
extern HWND g_backdrop;
// Created by the creation handler; hidden by the preparing and install jobs,
// shown again by the confirmation page.
extern HWND g_logo;
// The product's target folder.  Set to the default by the creation handler,
// replaced only by the install-folder page's Browse; read by the summary, the
// install job, the shell registration and the finish page.
extern char g_installFolder[kPathBufferSize];

// The installer support library, loaded by the creation handler and released
// by the backdrop's destroy handling; InitInstall is called by the install job.
extern HMODULE g_setupLibrary;
extern InitInstallFunction g_initInstall;

// Set once the backdrop's destroy handling has run: setup is ending, and any
// work still running inside a nested loop must stop.
extern bool g_setupEnding;

// Default install folder.
extern const char kDefaultInstallFolder[];

// Window procedures and helpers shared inside the shell.
LRESULT CALLBACK BackdropWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK LogoWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ProgressBarProc(HWND, UINT, WPARAM, LPARAM);

// Registers the backdrop, logo and progress bar classes; returns the last
// class's atom (0 on failure).
ATOM RegisterSetupClasses(HINSTANCE instance);
// Creates and shows the backdrop, then runs the page chain; returns FALSE when
// the backdrop did not survive its creation.
BOOL CreateBackdrop(HINSTANCE instance);
// Runs inside the backdrop's WM_CREATE: logo, default folder, support
// library, preparing dialog.
void OnBackdropCreate(HWND backdrop);
// Draws a whole bitmap with its top-left corner at (x, y).
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, DWORD rop);
// The preparing dialog's job, run by its bar's first timer tick.
void RunPreparingJob();
// Takes every queued message of the thread and dispatches it, as the long jobs
// do between units of work.  Returns false, leaving the quit message queued,
// once setup is ending.
bool DrainMessages();
