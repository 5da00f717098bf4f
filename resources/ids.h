// Resource and control numbers of SETUP.EXE, shared by the resource script,
// shell/ and pages/.  Grouped by template; code never writes a bare number.
#pragma once

// Icon groups.  101 comes first, so it is the icon of the program file.
#define IDI_SETUP_FILE        101
#define IDI_PRODUCT           102

// Side pictures of the wizard pages.
#define IDB_SCAN_SIDE         150   // scan-choice page 151 and scan page 149
#define IDB_WELCOME_SIDE      201
#define IDB_USERINFO_SIDE     203   // one pixel narrower than the others
#define IDB_FOLDER_SIDE       204
#define IDB_CONFIRM_SIDE      205   // confirmation page 115 and task page 148
#define IDB_FINISH_SIDE       206
// Backdrop strip and logo.
#define IDB_GRADIENT          221
#define IDB_LOGO              222

// Wizard pages.
#define IDD_WELCOME           111
#define IDD_AGREEMENT         112
#define IDD_USERINFO          113
#define IDD_FOLDER            114
#define IDD_CONFIRM           115
#define IDD_FINISH            116
#define IDD_TASKS             148
#define IDD_SCAN              149
#define IDD_SCAN_CHOICE       151
// Dialogs that hold a progress bar.
#define IDD_PREPARING         301
#define IDD_COPY              302

// Command buttons, the same on every page.
#define IDC_NEXT              1     // IDOK: Next, Yes on 112, the finish button on 116
#define IDC_CANCEL            2     // IDCANCEL: Cancel, No on 112
#define IDC_BACK              4
#define IDC_BROWSE            5     // install-folder page only

// Agreement page 112.
#define IDC_AGREEMENT_TEXT    1005
// User-information page 113.
#define IDC_USER_NAME         1005
#define IDC_USER_COMPANY      1008
// Install-folder page 114.
#define IDC_FOLDER_DISPLAY    1007
// Confirmation page 115.
#define IDC_SUMMARY_TEXT      1005
// Task page 148: one check box per follow-up task.
#define IDC_TASK_SAFE_BOOT    1010
#define IDC_TASK_RESCUE_DISK  1011
#define IDC_TASK_UPDATE       1012
#define IDC_TASK_SCHEDULED    1013
#define IDC_TASK_RUN_PRODUCT  1014
// Scan-choice page 151.
#define IDC_SCAN_FIRST        1016
#define IDC_SCAN_SKIP         1017
// Scan page 149.
#define IDC_SCAN_CURRENT_FILE 1019
#define IDC_SCAN_LAST_VIRUS   1022
#define IDC_SCAN_COUNT_FILES  1023
#define IDC_SCAN_COUNT_INFECTED 1024
#define IDC_SCAN_COUNT_REPAIRED 1025
#define IDC_SCAN_COUNT_DELETED  1026
// Copy page 302.
#define IDC_COPY_STATUS       1007

// Progress bars, created at run time inside the preparing dialog and the copy page.
#define IDC_PREPARING_BAR     2
#define IDC_COPY_BAR          3
// The logo window's identifier argument.
#define ID_LOGO_WINDOW        1
