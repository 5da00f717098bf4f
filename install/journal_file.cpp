// The install journal's file.
#include "install/journal_file.h"

#include <windows.h>

namespace {

constexpr DWORD kJournalReadLimit = 16 * 1024 * 1024;

}  // namespace

Text JournalPath() {
  char windows[MAX_PATH] = "";
  UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  if (n == 0 || n >= sizeof windows) return kJournalFileName;
  return Text(windows) + "\\" + kJournalFileName;
}

bool ReadJournal(Journal* journal) {
  HANDLE file = CreateFileA(JournalPath().c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  Text text;
  DWORD size = GetFileSize(file, NULL);
  bool read = false;
  if (size != INVALID_FILE_SIZE && size <= kJournalReadLimit) {
    text.resize(size);
    DWORD got = 0;
    read = size == 0 || (ReadFile(file, &text[0], size, &got, NULL) && got == size);
  }
  CloseHandle(file);
  return read && ParseJournal(text, journal);
}

bool WriteFinishedJournal(const Journal& journal) {
  Text text = JournalHeader(journal.started, journal.installFolder);
  for (const JournalRecord& record : journal.records) text += JournalLine(record);
  text += JournalCommitLine();
  Text path = JournalPath(), fresh = path + ".NEW";
  HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) && written == text.size() &&
            FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  // Windows 95 has no rename that replaces: the old journal goes just
  // before the new one takes its name.
  if (ok) ok = (DeleteFileA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) &&
               MoveFileA(fresh.c_str(), path.c_str());
  if (!ok) (void)DeleteFileA(fresh.c_str());
  return ok;
}
