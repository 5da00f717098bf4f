// The install journal: what one run of the install job changed on the PC,
// written ahead of every change, so that a run that does not finish can be
// undone and a finished install can be removed exactly.  SETUP.EXE writes it
// and rolls an unfinished one back at its next start; the product's
// uninstaller reads a finished one.
//
// File: CORVANE.JNL in the Windows folder, which stays when the install
// folder goes.  Text in the ANSI code page; one record a line, each line
// ended by CR LF; the fields of a line are separated by one TAB.  In a field,
// bytes below 0x20 and "%" are written as "%" and two upper-case hex digits
// (paths never hold them; old profile and registry values may).  A last line
// without its line end was cut by a crash and does not count: its change was
// never made.
//
//   CVJ1 <start> <install folder>        first line; <start> is the FILETIME
//                                         (UTC) of the run's start, 16 hex digits
//   D <folder>                            a folder that this run made
//   F <path>                              a file that this run made (none was there)
//   R <path> <aside>                      a file that this run replaced: the old
//                                         one was renamed to <aside>, same folder
//   C <path> <aside>                      a file in use, replaced when Windows next
//                                         starts; <aside> is a copy of the old one
//   P <section> <key> <had> <old>         a win.ini record written; <had> is 1 when
//                                         the key held <old> before, 0 when absent
//   K <key> <had>                         a key under HKEY_LOCAL_MACHINE made (<had>
//                                         0) or opened (1)
//   V <key> <name> <had> <old>            a string value written under that key
//   S <path> <had> <old>                  a file in the system folder counted once
//                                         more under SharedDLLs; <old> is the count
//                                         before, in decimal, when <had> is 1
//   L <path> <count>                      the uninstaller lowers the SharedDLLs count of
//                                         <path> from <count> (decimal); while the
//                                         count still reads <count>, it is not lowered
//   T <path> <size> <written>             a file outside the install folder as
//                                         this run left it: its size in decimal
//                                         and its last write (FILETIME, UTC, 16 hex
//                                         digits); written after the file is made
//   OK                                    the install finished; nothing follows
//
// Records name full paths.  A record is written and flushed before its change
// is made, so a record whose change never happened (the file is not there,
// the aside is absent) is undone by doing nothing.  A path may have several
// records; they are undone latest first: "C" after "R" with the same aside
// means the rename aside failed and a copy was kept instead (only the copy
// is undone), and a path made ready twice has its first aside undone last.  Asides are named like CVB0000.TMP; the
// support library's own temporary files, CVS0000.TMP, may be left beside a
// file that was being made when the run stopped.
//
// A journal is rewritten (by the uninstaller, or by a rollback that could
// not finish) into CORVANE.JNL.NEW, flushed, and then put in place of the
// old one.  Windows 95 has no rename that replaces, so there is a moment
// without CORVANE.JNL: a reader that finds none takes CORVANE.JNL.NEW, which
// is complete by then; while CORVANE.JNL is there, CORVANE.JNL.NEW is an
// unfinished rewrite and does not count.
#pragma once

#include "setupdll/library_temp.h"

constexpr char kJournalFileName[] = "CORVANE.JNL";
constexpr char kJournalRewriteSuffix[] = ".NEW";
constexpr char kJournalMagic[] = "CVJ1";
constexpr char kJournalCommitted[] = "OK";
constexpr char kAsidePrefix[] = "CVB";
constexpr char kAsidePattern[] = "CVB????.TMP";
constexpr char kLibraryTempPattern[] = CORVANE_INITINSTALL_TEMP_PATTERN;

enum class JournalKind : char {
  Folder = 'D',
  File = 'F',
  Replaced = 'R',
  InUse = 'C',
  Profile = 'P',
  Key = 'K',
  Value = 'V',
  Shared = 'S',
  Stamp = 'T',
  Lowered = 'L',
};
