// The payload store beside the support library, read through a file handle.
#include "store_file.h"

#include "names.h"
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
    DWORD written = 0;
    // A full disk shows as a short count on Windows 9x, as an error on NT.
    return WriteFile(file_, data, length, &written, NULL) && written == length;
  }

 private:
  HANDLE file_;
};

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
  if (payload::ParseHeader(header, size_, &header_) != payload::Status::Ok) return false;
  directory_ = static_cast<uint8_t*>(Allocate(header_.directorySize + 1));
  if (directory_ == NULL) return false;
  if (!Read(payload::kHeaderSize, directory_, header_.directorySize)) return false;
  return payload::CheckDirectory(header_, directory_) == payload::Status::Ok;
}

bool StoreFile::Find(const char* name, payload::Member* member) {
  return payload::FindMember(header_, directory_, name, member) == payload::Status::Ok;
}

bool StoreFile::ExtractTo(const payload::Member& member, HANDLE file, const payload::Buffers& buffers) {
  Source source(*this);
  FileSink sink(file);
  const bool ok = payload::ExtractMember(source, member, sink, buffers) == payload::Status::Ok;
  if (ok && member.writeTime != 0) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(member.writeTime);
    time.dwHighDateTime = static_cast<DWORD>(member.writeTime >> 32);
    // The contents are right either way; a lost time is not worth a failure.
    (void)SetFileTime(file, NULL, NULL, &time);
  }
  return ok;
}
