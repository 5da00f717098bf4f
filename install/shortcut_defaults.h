// Shortcut creation's checks and derived values, without Win32.
#pragma once
#include "common/text.h"

// Shortcut results.
constexpr unsigned kShortcutWritten = 1;
constexpr unsigned kShortcutNotLnk = 0x20000001;
constexpr unsigned kShortcutFailed = 0x20000002;
constexpr unsigned kShortcutOutOfMemory = 0x20000003;
constexpr unsigned kShortcutFail = 0x20000004;
constexpr unsigned kShortcutPathTooLong = 0x20000005;
constexpr unsigned kShortcutNoFolder = 0x20000007;

// Longest path that a derived value, or the link path's wide form, can hold.
constexpr size_t kShortcutMaxPath = 260;

// "LNK" anywhere in the link path, ASCII letters compared without case.
bool LinkPathHasLnk(const Text& link);

// Description when none is given: the link path without its last four
// characters (".LNK"), folders kept.  A path of fewer than four characters
// gives an empty description.
unsigned DeriveDescription(const Text& link, Text* description);

// Working directory when none is given: the target's folder.  Scanning back
// from the last character to the second, a backslash ends the folder (and is
// dropped), a colon stays ("C:CV32W.EXE" gives "C:").  No folder part, or an
// empty target, gives kShortcutNoFolder.
unsigned DeriveWorkingDirectory(const Text& target, Text* directory);

// The HRESULT of a failing link-object call as a shortcut result.
unsigned ShortcutResultFor(long hresult);
