// The install job's changes, journaled ahead.
#include "install/journal_writer.h"

#include "install/journal_file.h"
#include "install/rollback.h"
#include "install/shared_count.h"
#include "shell/setup_log.h"

namespace {

constexpr int kAsideAttempts = 1000;
constexpr DWORD kValueReadSize = 1024;

Text FullPath(const Text& path) {
  char full[MAX_PATH * 2];
  char* name = NULL;
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
  return n == 0 || n >= sizeof full ? path : Text(full);
}

Text FolderOf(const Text& path) {
  size_t cut = path.find_last_of('\\');
  return cut == Text::npos ? Text() : path.substr(0, cut);
}

// A name in `folder` that nothing has: CVBxxxx.TMP, short as WININIT.INI
// and real-mode tools want.
Text FreeAsideName(const Text& folder) {
  static DWORD next = GetTickCount() ^ (GetCurrentProcessId() << 8);
  for (int attempt = 0; attempt < kAsideAttempts; ++attempt) {
    char name[16];
    wsprintfA(name, "%s%04X.TMP", kAsidePrefix, static_cast<unsigned>(next++ & 0xFFFF));
    Text path = folder + "\\" + name;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
  }
  return Text();
}

// What a record announces, for the log.
Text Described(const JournalRecord& r) {
  switch (r.kind) {
    case JournalKind::Folder: return "폴더 만들기: " + r.target;
    case JournalKind::File: return "파일 설치: " + r.target;
    case JournalKind::Replaced: return "파일 교체: " + r.target;
    case JournalKind::InUse: return "사용 중인 파일, 다시 시작할 때 교체: " + r.target;
    case JournalKind::Profile: return "win.ini 기록: [" + r.target + "] " + r.name;
    case JournalKind::Key: return "레지스트리 키: HKEY_LOCAL_MACHINE\\" + r.target;
    case JournalKind::Value: return "레지스트리 값: " + r.name;
    case JournalKind::Shared: return "공유 파일 사용 수 더하기: " + r.target;
  }
  return r.target;
}

// The last record this run made of a file, or null.
const JournalRecord* LatestRecordOf(const List<JournalRecord>& records, const Text& target) {
  for (size_t i = records.size(); i-- > 0;)
    if (records[i].target == target) return &records[i];
  return nullptr;
}

uint64_t Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

}  // namespace

JournalWriter::~JournalWriter() { Close(); }

void JournalWriter::Close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

void JournalWriter::Begin(const Text& installFolder) {
  journal_ = Journal();
  journal_.started = Now();
  journal_.installFolder = installFolder;
  file_ = CreateFileA(JournalPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, NULL);
  Text header = JournalHeader(journal_.started, installFolder);
  DWORD written;
  if (file_ != INVALID_HANDLE_VALUE) {
    (void)WriteFile(file_, header.data(), static_cast<DWORD>(header.size()), &written, NULL);
    (void)FlushFileBuffers(file_);
  }
}

// The record reaches the disk before the change it announces is made.
void JournalWriter::Add(const JournalRecord& record) {
  journal_.records.push_back(record);
  SetupLog(Described(record));
  if (file_ == INVALID_HANDLE_VALUE) return;
  Text line = JournalLine(record);
  DWORD written;
  (void)WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, NULL);
  (void)FlushFileBuffers(file_);
}

void JournalWriter::MakeFolder(const Text& folder) {
  if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
    Add({JournalKind::Folder, FullPath(folder)});
  // Results not looked at: a folder that cannot be made shows up as a file in
  // it that cannot be made.
  (void)CreateDirectoryA(folder.c_str(), NULL);
}

void JournalWriter::PrepareFile(const Text& path) {
  Text full = FullPath(path);
  DWORD attributes = GetFileAttributesA(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    Add({JournalKind::File, full});
    return;
  }
  // A folder of that name makes the file fail; nothing to keep.
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return;
  Text aside = FreeAsideName(FolderOf(full));
  if (aside.empty()) return;
  // A rename keeps the old file's contents, time stamps and attributes, and
  // takes no time however large it is.
  Add({JournalKind::Replaced, full, aside});
  if (MoveFileA(full.c_str(), aside.c_str())) return;
  // Windows 95/98 refuse to rename a program or library in use; the support
  // library then replaces it when Windows next starts, and a copy is enough
  // to hold the old contents meanwhile.
  Add({JournalKind::InUse, full, aside});
  (void)CopyFileA(full.c_str(), aside.c_str(), TRUE);
}

void JournalWriter::RestoreIfNotMade(const Text& path) {
  Text full = FullPath(path);
  if (GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  const JournalRecord* r = LatestRecordOf(journal_.records, full);
  if (r && r->kind == JournalKind::Replaced) (void)MoveFileA(r->name.c_str(), full.c_str());
}

void JournalWriter::CountShared(const Text& path) {
  Text full = FullPath(path);
  unsigned long count = 0;
  bool had = ReadSharedCount(full, &count);
  const JournalRecord* r = LatestRecordOf(journal_.records, full);
  bool existed = r && (r->kind == JournalKind::Replaced || r->kind == JournalKind::InUse);
  char old[16];
  wsprintfA(old, "%lu", count);
  Add({JournalKind::Shared, full, "", had, had ? old : ""});
  WriteSharedCount(full, had ? count + 1 : existed ? 2 : 1);
}

void JournalWriter::WriteProfile(const char* section, const char* key, const char* value) {
  // Two different defaults tell an absent key from one that holds either.
  char old[kValueReadSize], probe[4];
  GetProfileStringA(section, key, "\x01", old, sizeof old);
  GetProfileStringA(section, key, "\x02", probe, sizeof probe);
  bool had = !(old[0] == '\x01' && old[1] == '\0' && probe[0] == '\x02' && probe[1] == '\0');
  Add({JournalKind::Profile, section, key, had, had ? old : ""});
  (void)WriteProfileStringA(section, key, value);
}

HKEY JournalWriter::CreateMachineKey(const char* key) {
  HKEY opened;
  bool had = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) == ERROR_SUCCESS;
  if (had) RegCloseKey(opened);
  Add({JournalKind::Key, key, "", had});
  DWORD disposition;
  // The entry survives restarts: a volatile key would drop the product from
  // the list of installed programs at the next start of Windows.
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, NULL, &opened, &disposition) != ERROR_SUCCESS)
    return NULL;
  return opened;
}

void JournalWriter::SetString(HKEY opened, const char* key, const char* name, const Text& data) {
  char old[kValueReadSize + 1] = "";
  DWORD size = kValueReadSize, type = 0;
  bool had = RegQueryValueExA(opened, name, NULL, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
  old[size < kValueReadSize ? size : kValueReadSize] = '\0';
  Add({JournalKind::Value, key, name, had, had ? old : ""});
  // The count includes the terminator, as REG_SZ data must: without it the NT
  // family stores an unterminated string that readers may run past.
  (void)RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
}

bool JournalWriter::RestartNeeded() const {
  for (const JournalRecord& r : journal_.records) {
    if (r.kind == JournalKind::InUse) return true;
  }
  return false;
}

void JournalWriter::Commit() {
  if (file_ != INVALID_HANDLE_VALUE) {
    Text line = JournalCommitLine();
    DWORD written;
    (void)WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, NULL);
    (void)FlushFileBuffers(file_);
  }
  Close();
  journal_.committed = true;
  DiscardAsides(journal_);
}

void JournalWriter::RollBack(bool startRemovalCommand) {
  SetupLog("설치한 것을 모두 되돌립니다.");
  Close();
  UndoRun(journal_, startRemovalCommand);
  (void)DeleteFileA(JournalPath().c_str());
}
