// Where Windows keeps the shell's folders (Programs, Start Menu, Startup,
// Desktop, ...) of the current user, under HKEY_CURRENT_USER, and of all
// users, under HKEY_LOCAL_MACHINE.
#pragma once

inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
