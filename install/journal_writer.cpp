// The install job's changes, journaled ahead.
#include "install/journal_writer.h"

#include "common/disk_ops.h"
#include "common/path_text.h"
#include "install/journal_file.h"
#include "install/journal_trust.h"
#include "install/rollback.h"
#include "common/shared_count.h"
#include "common/setup_log.h"

namespace {

constexpr int kAsideAttempts = 1000;
constexpr DWORD kValueReadSize = 1024;

Text FullPath(const Text& path) {
  char full[kPathBufferSize];
  char* name = NULL;
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
  return n == 0 || n >= sizeof full ? path : Text(full);
}

// A name in `folder` that nothing has: CVBxxxx.TMP, short as WININIT.INI
// and real-mode tools want.
Text FreeAsideName(const Text& folder) {
  static DWORD next = GetTickCount() ^ (GetCurrentProcessId() << 8);
  for (int attempt = 0; attempt < kAsideAttempts; ++attempt) {
    char name[16];
    wsprintfA(name, "%s%04X.TMP", kAsidePrefix, static_cast<unsigned>(next++ & 0xFFFF));
    Text path = JoinPath(folder, name);
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
    case JournalKind::Stamp: return "설치한 파일의 크기와 시각: " + r.target;
    case JournalKind::Lowered: return "공유 파일 사용 수 빼기: " + r.target;
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

bool JournalWriter::WriteLine(const Text& line) {
  if (state_ == State::InMemory) return true;
  if (state_ == State::Open && ops::Write(file_, line.data(), static_cast<DWORD>(line.size())) && ops::Flush(file_))
    return true;
  if (state_ == State::Open) SetupLog("설치 기록을 쓸 수 없어 아무것도 더 바꾸지 않습니다: " + JournalPath());
  state_ = State::Broken;
  Close();
  return false;
}

bool JournalWriter::Begin(const Text& installFolder) {
  journal_ = Journal();
  journal_.started = Now();
  journal_.installFolder = installFolder;
  state_ = State::Open;
  Journal earlier;
  JournalFile found = ReadJournalFile(&earlier);
  if (found == JournalFile::Unreadable || (found == JournalFile::Read && !earlier.committed)) {
    SetupLog("끝나지 않은 설치 기록이 남아 있어 설치하지 않습니다: " + JournalPath());
    state_ = State::Broken;
    return false;
  }
  file_ = ops::OpenForWriting(JournalPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL);
  return WriteLine(JournalHeader(journal_.started, installFolder));
}

// The record reaches the disk before the change it announces is made.
bool JournalWriter::Add(const JournalRecord& record) {
  if (!WriteLine(JournalLine(record))) return false;
  journal_.records.push_back(record);
  SetupLog(Described(record));
  return true;
}

void JournalWriter::MakeFolder(const Text& folder) {
  if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  if (!Add({JournalKind::Folder, FullPath(folder)})) return;
  // Results not looked at: a folder that cannot be made shows up as a file in
  // it that cannot be made.
  (void)ops::MakeFolder(folder.c_str());
}

void JournalWriter::PrepareFile(const Text& path) { PrepareFiles({path}); }

void JournalWriter::PrepareFiles(const List<Text>& paths) {
  if (Broken()) return;
  List<JournalRecord> records;
  Text lines;
  for (const Text& path : paths) {
    Text full = FullPath(path);
    DWORD attributes = GetFileAttributesA(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      records.push_back({JournalKind::File, full});
    } else {
      // A folder of that name makes the file fail; nothing to keep.
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      Text aside = FreeAsideName(FolderOf(full));
      if (aside.empty()) continue;
      records.push_back({JournalKind::Replaced, full, aside});
    }
    lines += JournalLine(records.back());
  }
  if (records.empty() || !WriteLine(lines)) return;
  for (const JournalRecord& record : records) {
    journal_.records.push_back(record);
    SetupLog(Described(record));
  }
  for (const JournalRecord& record : records) {
    if (record.kind != JournalKind::Replaced) continue;
    // A rename keeps the old file's contents, time stamps and attributes,
    // and takes no time however large it is.
    if (ops::Move(record.target.c_str(), record.name.c_str())) continue;
    // Windows 95/98 refuse to rename a program or library in use; the
    // support library then replaces it when Windows next starts, and a copy
    // is enough to hold the old contents meanwhile.
    if (!Add({JournalKind::InUse, record.target, record.name})) return;
    (void)ops::Copy(record.target.c_str(), record.name.c_str(), true);
  }
}

void JournalWriter::RestoreIfNotMade(const Text& path) {
  Text full = FullPath(path);
  if (GetFileAttributesA(full.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  const JournalRecord* r = LatestRecordOf(journal_.records, full);
  if (r && r->kind == JournalKind::Replaced) (void)ops::Move(r->name.c_str(), full.c_str());
}

void JournalWriter::Made(const Text& path) {
  Text full = FullPath(path);
  if (Broken() || IsInsideFolder(full, journal_.installFolder)) return;
  // A file in use is only replaced when Windows next starts: what is there
  // now is the old file.
  const JournalRecord* latest = LatestRecordOf(journal_.records, full);
  if (latest && latest->kind == JournalKind::InUse) return;
  FileFacts facts;
  if (FactsOfFile(full, &facts)) (void)Add(StampRecord(full, facts.size, facts.written));
}

void JournalWriter::CountShared(const Text& path) {
  if (Broken()) return;
  Text full = FullPath(path);
  unsigned long count = 0;
  bool had = ReadSharedCount(full, &count);
  const JournalRecord* r = LatestRecordOf(journal_.records, full);
  bool existed = r && (r->kind == JournalKind::Replaced || r->kind == JournalKind::InUse);
  char old[16];
  wsprintfA(old, "%lu", count);
  if (!Add({JournalKind::Shared, full, "", had, had ? old : ""})) return;
  (void)WriteSharedCount(full, had ? count + 1 : existed ? 2 : 1);
}

void JournalWriter::WriteProfile(const char* section, const char* key, const char* value) {
  if (Broken()) return;
  // Two different defaults tell an absent key from one that holds either.
  char old[kValueReadSize], probe[4];
  GetProfileStringA(section, key, "\x01", old, sizeof old);
  GetProfileStringA(section, key, "\x02", probe, sizeof probe);
  bool had = !(old[0] == '\x01' && old[1] == '\0' && probe[0] == '\x02' && probe[1] == '\0');
  if (!Add({JournalKind::Profile, section, key, had, had ? old : ""})) return;
  (void)ops::WriteProfile(section, key, value);
}

HKEY JournalWriter::CreateMachineKey(const char* key) {
  if (Broken()) return NULL;
  HKEY opened;
  bool had = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) == ERROR_SUCCESS;
  if (had) RegCloseKey(opened);
  if (!Add({JournalKind::Key, key, "", had})) return NULL;
  // The entry survives restarts: a volatile key would drop the product from
  // the list of installed programs at the next start of Windows.
  if (ops::CreateKey(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return NULL;
  return opened;
}

void JournalWriter::SetString(HKEY opened, const char* key, const char* name, const Text& data) {
  if (Broken()) return;
  char old[kValueReadSize + 1] = "";
  DWORD size = kValueReadSize, type = 0;
  bool had = RegQueryValueExA(opened, name, NULL, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
  old[size < kValueReadSize ? size : kValueReadSize] = '\0';
  if (!Add({JournalKind::Value, key, name, had, had ? old : ""})) return;
  (void)ops::SetString(opened, name, data.c_str());
}

bool JournalWriter::RestartNeeded() const {
  for (const JournalRecord& r : journal_.records) {
    if (r.kind == JournalKind::InUse) return true;
  }
  return false;
}

bool JournalWriter::Commit() {
  if (Broken() || !WriteLine(JournalCommitLine())) return false;
  Close();
  journal_.committed = true;
  DiscardAsides(journal_);
  return true;
}

void JournalWriter::RollBack(bool startRemovalCommand) {
  SetupLog("설치한 것을 모두 되돌립니다.");
  Close();
  const bool onDisk = state_ != State::InMemory;
  const Journal left = UndoRun(journal_, startRemovalCommand);
  if (!onDisk) return;
  // What could not be undone stays journaled, for the next start to try
  // again; a broken journal on a disk that took no more may be lost with it.
  if (left.records.empty() ? !DeleteJournal() : !WriteJournal(left))
    SetupLog("설치 기록을 고칠 수 없습니다: " + JournalPath());
}
