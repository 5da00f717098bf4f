// WININIT.INI read whole, edited as text and put back through a temporary file.
#include "wininit_file.h"

#include "common/disk_ops.h"

#include <windows.h>

#include "names.h"
#include "replace_file.h"
#include "wininit_text.h"

namespace wininit {
namespace {

const char kWininitName[] = "WININIT.INI";

// Far beyond any real WININIT.INI; a file this large is not one to rewrite.
const DWORD kMaxFileSize = 1024 * 1024;

// The file's text in a heap block with room for what an edit adds.
struct Text {
  char* bytes;
  size_t length;
  size_t capacity;
};

enum class Change { Changed, Unchanged, Refused };

bool WindowsFolder(char* folder) {
  const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  return length != 0 && length < MAX_PATH;
}

void Release(Text* text) {
  if (text->bytes != NULL) (void)HeapFree(GetProcessHeap(), 0, text->bytes);
  text->bytes = NULL;
}

// Reads the whole of path into text with room bytes to spare; an absent file
// reads as empty.
bool ReadWhole(const char* path, size_t room, Text* text) {
  text->bytes = NULL;
  text->length = 0;
  text->capacity = 0;
  DWORD size = 0;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else {
    DWORD high = 0;
    size = GetFileSize(file, &high);
    if (high != 0 || size > kMaxFileSize) {
      (void)CloseHandle(file);
      return false;
    }
  }
  text->capacity = size + room;
  text->bytes = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, text->capacity));
  bool whole = text->bytes != NULL;
  while (whole && file != INVALID_HANDLE_VALUE && text->length < size) {
    DWORD got = 0;
    whole = ReadFile(file, text->bytes + text->length, size - static_cast<DWORD>(text->length), &got, NULL) && got > 0;
    text->length += got;
  }
  if (file != INVALID_HANDLE_VALUE) (void)CloseHandle(file);
  if (!whole) Release(text);
  return whole;
}

bool WriteWhole(HANDLE file, const Text& text) {
  const bool wrote = text.length == 0 || ops::Write(file, text.bytes, static_cast<DWORD>(text.length));
  // A close can report a write that failed late (a full disk).
  const bool closed = CloseHandle(file) != FALSE;
  return wrote && closed;
}

// Writes text to a new temporary file in folder and puts it in place of path.
bool PutBack(const char* folder, const char* path, const Text& text) {
  char temp[MAX_PATH];
  HANDLE file = CreateTempFile(folder, temp);
  if (file == INVALID_HANDLE_VALUE) return false;
  char aside[MAX_PATH];
  if (WriteWhole(file, text) && ReplaceTargetFile(temp, path, aside) == Replacement::Done) {
    // Only a stray temporary file is left when this fails.
    if (aside[0] != '\0') (void)ops::Delete(aside);
    return true;
  }
  (void)ops::Delete(temp);
  return false;
}

// Reads WININIT.INI, lets edit change its text (adding at most room bytes),
// and puts the changed text back. False when any step fails or edit refuses.
template <typename Edit>
bool EditWininit(size_t room, Edit edit) {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  if (!WindowsFolder(folder) || !payload::JoinPath(path, sizeof path, folder, kWininitName)) return false;
  // Windows 9x keeps the profile file last written through the profile
  // functions in memory; this writes it out, so that the file read is whole.
  (void)WritePrivateProfileStringA(NULL, NULL, NULL, path);
  Text text;
  if (!ReadWhole(path, room, &text)) return false;
  const Change change = edit(&text);
  const bool done = change == Change::Unchanged || (change == Change::Changed && PutBack(folder, path, text));
  Release(&text);
  return done;
}

bool AddLine(const char* key, const char* value) {
  return EditWininit(AddedSize(key, value), [key, value](Text* text) {
    return AddRenameLine(text->bytes, &text->length, text->capacity, key, value) ? Change::Changed
                                                                                 : Change::Refused;
  });
}

}  // namespace

bool ShortPath(const char* path, char* out, size_t outSize) {
  const DWORD length = GetShortPathNameA(path, out, static_cast<DWORD>(outSize));
  return length != 0 && length < outSize;
}

bool ScheduleRename(const char* target, const char* source) { return AddLine(target, source); }

bool ScheduleDelete(const char* path) { return AddLine("NUL", path); }

bool FindRename(const char* target, char* source, size_t sourceSize) {
  if (sourceSize > 0) source[0] = '\0';
  size_t needed = 0;
  const bool read = EditWininit(0, [&](Text* text) {
    needed = FindRenameValue(text->bytes, text->length, target, source, sourceSize);
    return Change::Unchanged;
  });
  return read && needed != 0 && needed <= sourceSize;
}

Withdrawal WithdrawRename(const char* target, char* source, size_t sourceSize) {
  if (sourceSize > 0) source[0] = '\0';
  bool scheduled = false;
  const bool done = EditWininit(0, [&](Text* text) {
    const size_t needed = FindRenameValue(text->bytes, text->length, target, source, sourceSize);
    scheduled = needed != 0;
    if (!scheduled) return Change::Unchanged;
    if (needed > sourceSize) return Change::Refused;
    (void)RemoveRenameLines(text->bytes, &text->length, target, source);
    return Change::Changed;
  });
  if (!done) {
    if (sourceSize > 0) source[0] = '\0';
    return Withdrawal::Failed;
  }
  return scheduled ? Withdrawal::Withdrawn : Withdrawal::NoneScheduled;
}

}  // namespace wininit
