// What setup leaves on the PC for the product's programs and its
// uninstaller to find: the win.ini section and its keys, the uninstall
// entry, the Start-menu group and the two fixed shortcuts beside it, the
// install folder's subfolders and programs.  Setup writes them; MemChk.exe,
// _ISDEL.EXE, CV32W.EXE, Schedule.EXE and Unsetup.exe read them.  Texts are
// in code page 949.
#pragma once

// win.ini, section "Corvane".
inline constexpr char kRecordSection[] = "Corvane";
inline constexpr char kInstallRecord[] = "Install";    // the install folder
inline constexpr char kGroupRecord[] = "LInstall";     // the program group folder
inline constexpr char kNameRecord[] = "Name";          // the user's name and company
inline constexpr char kCompanyRecord[] = "Company";
inline constexpr char kPendingTasksRecord[] = "PendingTasks";  // tasks the product offers itself
inline constexpr char kMemCheckRecord[] = "MemCheck";          // MemChk.exe's memory figures

// HKEY_LOCAL_MACHINE: the entry in the list of programs that can be removed.
inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98";
inline constexpr char kUninstallDisplayName[] = "코르바네™ for Win95/98";

// The group inside the Programs folder, and the two shortcuts beside it,
// given from the group folder as setup makes them: the main program at the
// top of the Start menu, the scheduled scan in the Start-up folder.
inline constexpr char kProgramGroupName[] = "코르바네™ for Win9X";
inline constexpr char kMainLinkFromGroup[] = "\\..\\..\\코르바네.LNK";
inline constexpr char kScheduleLinkFromGroup[] = "\\..\\시작프로그램\\예약검사.LNK";

// The install folder's programs and subfolders.
inline constexpr char kMainProgram[] = "CV32W.EXE";
inline constexpr char kScheduleProgram[] = "Schedule.EXE";
inline constexpr char kUninstaller[] = "Unsetup.exe";
inline constexpr const char* kInstallSubfolders[] = {"VProtect", "Update", "Vlist"};
