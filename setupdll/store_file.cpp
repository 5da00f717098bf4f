// The payload store beside the support library, read through a file handle.
#include "store_file.h"

#include "common/disk_ops.h"

#include "common/bounded_text.h"
#include "common/memory.h"
#include "names.h"
#include "read_ahead.h"
#include "store_format.h"

namespace {

void* Allocate(DWORD size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void Release(void* p) {
  if (p != NULL) (void)HeapFree(GetProcessHeap(), 0, p);
}

class FileSink : public payload::Sink {
 public:
  explicit FileSink(HANDLE file) : file_(file) {}
  bool Write(const void* data, uint32_t length) override {
    // A full disk shows as a short count on Windows 9x, as an error on NT.
    return ops::Write(file_, data, length);
  }

 private:
  HANDLE file_;
};

// The debugger's log: the library shows no box of its own, which would stop
// an unattended install, and setup reports the failure as for any file.
void LogOtherFormat(const payload::Header& found) {
  char line[160] = "_SETUP.DLL: _SETUP.PAK is not a store this library reads (version ";
  char* at = line + TextLength(line);
  char digits[6];
  int count = 0;
  unsigned version = found.version;
  do {
    digits[count++] = static_cast<char>('0' + version % 10);
    version /= 10;
  } while (version != 0);
  while (count > 0) *at++ = digits[--count];
  const char middle[] = ", format \"";
  CopyBytes(at, middle, sizeof middle - 1);
  at += sizeof middle - 1;
  for (char c : found.format) *at++ = c >= 0x20 && c < 0x7F ? c : '?';
  const char tail[] = "\"; it reads version 2, format \"zstd\")\r\n";
  static_assert(payload::kVersion == 2, "the log line names the version");
  CopyBytes(at, tail, sizeof tail);
  OutputDebugStringA(line);
}

}  // namespace

class StoreFile::Source : public payload::Source {
 public:
  explicit Source(StoreFile& store) : store_(store) {}
  bool Read(uint32_t offset, void* buffer, uint32_t length) override {
    return store_.Read(offset, buffer, length);
  }

 private:
  StoreFile& store_;
};

StoreFile::StoreFile() : file_(INVALID_HANDLE_VALUE), size_(0), position_(0), header_(), directory_(NULL) {}

StoreFile::~StoreFile() {
  Release(directory_);
  if (file_ != INVALID_HANDLE_VALUE) (void)CloseHandle(file_);
}

bool StoreFile::Read(DWORD offset, void* buffer, DWORD length) {
  if (offset > size_ || length > size_ - offset) return false;
  // Members are read front to back: seek only when a read does not follow on.
  if (offset != position_) {
    if (SetFilePointer(file_, static_cast<LONG>(offset), NULL, FILE_BEGIN) == 0xFFFFFFFF) return false;
    position_ = offset;
  }
  DWORD got = 0;
  const bool ok = ReadFile(file_, buffer, length, &got, NULL) && got == length;
  position_ += got;
  return ok;
}

bool StoreFile::Open(HMODULE module) {
  char modulePath[MAX_PATH];
  char storePath[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, modulePath, sizeof modulePath);
  if (length == 0 || length >= sizeof modulePath) return false;
  if (!payload::SiblingPath(storePath, sizeof storePath, modulePath, payload::kStoreFileName)) return false;

  file_ = CreateFileA(storePath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
  if (file_ == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0;
  size_ = GetFileSize(file_, &high);
  if (size_ == 0xFFFFFFFF || high != 0) return false;

  uint8_t header[payload::kHeaderSize];
  if (!Read(0, header, sizeof header)) return false;
  const payload::Status parsed = payload::ParseHeader(header, size_, &header_);
  if (parsed == payload::Status::OtherFormat) LogOtherFormat(header_);
  if (parsed != payload::Status::Ok) return false;
  directory_ = static_cast<uint8_t*>(Allocate(header_.directorySize + 1));
  if (directory_ == NULL) return false;
  if (!Read(payload::kHeaderSize, directory_, header_.directorySize)) return false;
  return payload::CheckDirectory(header_, directory_) == payload::Status::Ok;
}

bool StoreFile::Find(const char* name, payload::Member* member) {
  return payload::FindMember(header_, directory_, name, member) == payload::Status::Ok;
}

StoreFile::Identity StoreFile::Identify() const {
  Identity identity;
  identity.size = size_;
  identity.directoryCrc = header_.directoryCrc;
  if (!GetFileTime(file_, NULL, NULL, &identity.written)) FillBytes(&identity.written, 0, sizeof identity.written);
  return identity;
}

int StoreFile::FramesFrom(const payload::Member& member, payload::Member* frames, int max) {
  int count = 0;
  payload::DirectoryCursor cursor(header_, directory_);
  payload::Member m;
  bool reached = false;
  while (count < max && cursor.Next(&m)) {
    reached = reached || (m.offset == member.offset && m.packedSize == member.packedSize);
    if (!reached || m.method != payload::kMethodZstd) continue;
    if (count > 0 && m.offset == frames[count - 1].offset) continue;
    m.name = NULL;
    m.nameLength = 0;
    frames[count++] = m;
  }
  return count;
}

bool StoreFile::ReadFrame(const payload::Member& frame, uint8_t* into) {
  return Read(frame.offset, into, frame.packedSize);
}

void StoreFile::GiveRecordedTime(const payload::Member& member, HANDLE file) {
  if (member.writeTime == 0) return;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(member.writeTime);
  time.dwHighDateTime = static_cast<DWORD>(member.writeTime >> 32);
  // The contents are right either way; a lost time is not worth a failure.
  (void)SetFileTime(file, NULL, NULL, &time);
}

bool StoreFile::ExtractTo(const payload::Member& member, HANDLE file, payload::Unpacker& unpacker,
                          const payload::Buffers& buffers, uint8_t* spare) {
  Source source(*this);
  ReadAhead ahead(source, spare, buffers.inSize);
  FileSink sink(file);
  return unpacker.Extract(ahead, member, sink, buffers) == payload::Status::Ok;
}

bool StoreFile::WriteUnpacked(const payload::Member& member, const uint8_t* bytes, HANDLE file) {
  FileSink sink(file);
  return payload::WriteUnpacked(bytes, member, sink) == payload::Status::Ok;
}
