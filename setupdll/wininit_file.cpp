// WININIT.INI read whole, edited as text and put back through a temporary file.
#include "wininit_file.h"

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

enum class Change { kChanged, kUnchanged, kRefused };

bool windows_folder(char* folder) {
  const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  return length != 0 && length < MAX_PATH;
}

void release(Text* text) {
  if (text->bytes != NULL) (void)HeapFree(GetProcessHeap(), 0, text->bytes);
  text->bytes = NULL;
}

// Reads the whole of path into text with room bytes to spare; an absent file
// reads as empty.
bool read_whole(const char* path, size_t room, Text* text) {
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
  if (!whole) release(text);
  return whole;
}

bool write_whole(HANDLE file, const Text& text) {
  DWORD written = 0;
  const bool wrote =
      text.length == 0 ||
      (WriteFile(file, text.bytes, static_cast<DWORD>(text.length), &written, NULL) && written == text.length);
  // A close can report a write that failed late (a full disk).
  const bool closed = CloseHandle(file) != FALSE;
  return wrote && closed;
}

// Writes text to a new temporary file in folder and puts it in place of path.
bool put_back(const char* folder, const char* path, const Text& text) {
  char temp[MAX_PATH];
  HANDLE file = create_temp_file(folder, temp);
  if (file == INVALID_HANDLE_VALUE) return false;
  char aside[MAX_PATH];
  if (write_whole(file, text) && replace_file(temp, path, aside) == Replacement::kDone) {
    // Only a stray temporary file is left when this fails.
    if (aside[0] != '\0') (void)DeleteFileA(aside);
    return true;
  }
  (void)DeleteFileA(temp);
  return false;
}

// Reads WININIT.INI, lets edit change its text (adding at most room bytes),
// and puts the changed text back. False when any step fails or edit refuses.
template <typename Edit>
bool edit_wininit(size_t room, Edit edit) {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  if (!windows_folder(folder) || !payload::JoinPath(path, sizeof path, folder, kWininitName)) return false;
  // Windows 9x keeps the profile file last written through the profile
  // functions in memory; this writes it out, so that the file read is whole.
  (void)WritePrivateProfileStringA(NULL, NULL, NULL, path);
  Text text;
  if (!read_whole(path, room, &text)) return false;
  const Change change = edit(&text);
  const bool done = change == Change::kUnchanged || (change == Change::kChanged && put_back(folder, path, text));
  release(&text);
  return done;
}

bool add_line(const char* key, const char* value) {
  return edit_wininit(added_size(key, value), [key, value](Text* text) {
    return add_rename_line(text->bytes, &text->length, text->capacity, key, value) ? Change::kChanged
                                                                                   : Change::kRefused;
  });
}

}  // namespace

bool short_path(const char* path, char* out, size_t out_size) {
  const DWORD length = GetShortPathNameA(path, out, static_cast<DWORD>(out_size));
  return length != 0 && length < out_size;
}

bool schedule_rename(const char* target, const char* source) { return add_line(target, source); }

bool schedule_delete(const char* path) { return add_line("NUL", path); }

bool find_rename(const char* target, char* source, size_t source_size) {
  if (source_size > 0) source[0] = '\0';
  size_t needed = 0;
  const bool read = edit_wininit(0, [&](Text* text) {
    needed = find_rename_value(text->bytes, text->length, target, source, source_size);
    return Change::kUnchanged;
  });
  return read && needed != 0 && needed <= source_size;
}

Withdrawal withdraw_rename(const char* target, char* source, size_t source_size) {
  if (source_size > 0) source[0] = '\0';
  bool scheduled = false;
  const bool done = edit_wininit(0, [&](Text* text) {
    const size_t needed = find_rename_value(text->bytes, text->length, target, source, source_size);
    scheduled = needed != 0;
    if (!scheduled) return Change::kUnchanged;
    if (needed > source_size) return Change::kRefused;
    (void)remove_rename_lines(text->bytes, &text->length, target, source);
    return Change::kChanged;
  });
  if (!done) {
    if (source_size > 0) source[0] = '\0';
    return Withdrawal::kFailed;
  }
  return scheduled ? Withdrawal::kWithdrawn : Withdrawal::kNoneScheduled;
}

}  // namespace wininit
