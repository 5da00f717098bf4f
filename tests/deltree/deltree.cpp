// DELTREE.EXE for the test prefix: Windows 98 keeps a DELTREE in
// C:\WINDOWS\COMMAND, Wine has none, and setup runs "deltree /y <folder>"
// after a failed copy. Deletes each named file or folder tree (wildcards
// allowed in the last part), read-only, hidden and system files included.
// Exit code 0 when everything named is gone, 1 when something stayed, 2 for
// a bad command line. Plain buffers and no C or C++ runtime, as the programs
// setup ships: it loads on Windows 95.
#include <windows.h>

#include "command_line.h"
#include "common/bounded_text.h"
#include "common/memory.h"

namespace {

const size_t kPathBufferSize = MAX_PATH;

const char kUsage[] =
    "Deletes a directory and all the subdirectories and files in it.\r\n\r\n"
    "DELTREE [/Y] [drive:]path [[drive:]path[...]]\r\n\r\n"
    "  /Y              Suppresses prompting to confirm you want to delete\r\n"
    "                  the subdirectory.\r\n"
    "  [drive:]path    Specifies the name of the directory you want to delete.\r\n";

bool IsDirectory(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsDotEntry(const char* name) { return (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))); }

// Appends "\name" (or just name when separator is false) to the path of
// length length in path; the new length, or 0 when it would not fit.
size_t Append(char* path, size_t length, bool separator, const char* name) {
  const size_t nameLength = TextLength(name);
  const size_t total = length + (separator ? 1 : 0) + nameLength;
  if (total + 1 > kPathBufferSize) return 0;
  if (separator) path[length++] = '\\';
  CopyBytes(path + length, name, nameLength + 1);
  return total;
}

// Removes what path (a buffer of kPathBufferSize, length bytes used) names;
// the buffer is used for the entries below and given back unchanged.
bool RemoveTree(char* path, size_t length, DWORD attributes) {
  // Read-only entries cannot be deleted until the attribute is cleared.
  (void)SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  if (!IsDirectory(attributes)) return DeleteFileA(path) != FALSE;
  bool all = true;
  WIN32_FIND_DATAA data;
  HANDLE find = Append(path, length, true, "*.*") ? FindFirstFileA(path, &data) : INVALID_HANDLE_VALUE;
  path[length] = '\0';
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (IsDotEntry(data.cFileName)) continue;
      const size_t entryLength = Append(path, length, true, data.cFileName);
      all = entryLength != 0 && RemoveTree(path, entryLength, data.dwFileAttributes) && all;
      path[length] = '\0';
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  return RemoveDirectoryA(path) != FALSE && all;
}

// Console output through the handles: the C library's printf would pull in
// MinGW's own formatting code and its imports.
void WriteText(DWORD which, const char* text, size_t length) {
  DWORD written;
  (void)WriteFile(GetStdHandle(which), text, static_cast<DWORD>(length), &written, NULL);
}

void WriteText(DWORD which, const char* text) { WriteText(which, text, TextLength(text)); }

bool Confirmed(const char* path, DWORD attributes) {
  WriteText(STD_OUTPUT_HANDLE, IsDirectory(attributes) ? "Delete directory \"" : "Delete file \"");
  WriteText(STD_OUTPUT_HANDLE, path);
  WriteText(STD_OUTPUT_HANDLE, IsDirectory(attributes) ? "\" and all its subdirectories? [yn] " : "\"? [yn] ");
  char answer = 'n';
  DWORD got = 0;
  // The first character of the reply decides; the rest of the line stays.
  if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), &answer, 1, &got, NULL) || got != 1) return false;
  return answer == 'y' || answer == 'Y';
}

// Deletes every entry that the path argument names; true when none of them
// is left.
bool DeleteNamed(const deltree::Argument& argument, bool assumeYes) {
  char pattern[kPathBufferSize];
  size_t length = argument.length;
  if (length + 1 > sizeof pattern) return false;
  CopyBytes(pattern, argument.text, length);
  pattern[length] = '\0';
  // "C:\x\" names the folder x; FindFirstFileA wants it without the backslash.
  while (length > 1 && pattern[length - 1] == '\\' && pattern[length - 2] != ':') pattern[--length] = '\0';

  // The folder part keeps its separator: "C:\a\" of "C:\a\*.tmp", "C:" of
  // "C:x". In code page 949 a backslash byte is never the second byte of a
  // character, so a plain search is safe.
  size_t folderLength = length;
  while (folderLength > 0 && pattern[folderLength - 1] != '\\' && pattern[folderLength - 1] != ':') {
    --folderLength;
  }
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern, &data);
  if (find == INVALID_HANDLE_VALUE) return true;
  bool all = true;
  char entry[kPathBufferSize];
  CopyBytes(entry, pattern, folderLength);
  entry[folderLength] = '\0';
  do {
    if (IsDotEntry(data.cFileName)) continue;
    const size_t entryLength = Append(entry, folderLength, false, data.cFileName);
    if (entryLength == 0) {
      all = false;
      continue;
    }
    if (!assumeYes && !Confirmed(entry, data.dwFileAttributes)) continue;
    WriteText(STD_OUTPUT_HANDLE, "Deleting ");
    WriteText(STD_OUTPUT_HANDLE, entry);
    WriteText(STD_OUTPUT_HANDLE, "...\r\n");
    all = RemoveTree(entry, entryLength, data.dwFileAttributes) && all;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return all;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  bool assumeYes = false;
  int paths = 0;
  const char* cursor = arguments;
  for (deltree::Argument a = deltree::NextArgument(&cursor); a.kind != deltree::Kind::End;
       a = deltree::NextArgument(&cursor)) {
    if (deltree::IsYesSwitch(a)) {
      assumeYes = true;
    } else if (a.kind == deltree::Kind::Option) {
      WriteText(STD_ERROR_HANDLE, "Invalid switch - ");
      WriteText(STD_ERROR_HANDLE, a.text, a.length);
      WriteText(STD_ERROR_HANDLE, "\r\n");
      return 2;
    } else if (a.length > 0) {
      ++paths;
    }
  }
  if (paths == 0) {
    WriteText(STD_ERROR_HANDLE, kUsage);
    return 2;
  }
  bool all = true;
  cursor = arguments;
  for (deltree::Argument a = deltree::NextArgument(&cursor); a.kind != deltree::Kind::End;
       a = deltree::NextArgument(&cursor)) {
    if (a.kind == deltree::Kind::Path && a.length > 0) all = DeleteNamed(a, assumeYes) && all;
  }
  return all ? 0 : 1;
}
