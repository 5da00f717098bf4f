// The payload store beside the support library, read through a file handle.
#include "store_file.h"

#include "common/disk_ops.h"

#include <zlib.h>

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
    // A full disk shows as a short count on Windows 9x, as an error on NT.
    return ops::Write(file_, data, length);
  }

 private:
  HANDLE file_;
};

// Passes reads on and keeps the CRC-32 of the bytes read, in their order.
class CrcSource : public payload::Source {
 public:
  explicit CrcSource(payload::Source& inner) : inner_(inner), crc_(crc32(0L, Z_NULL, 0)) {}
  bool Read(uint32_t offset, void* buffer, uint32_t length) override {
    if (!inner_.Read(offset, buffer, length)) return false;
    crc_ = crc32(crc_, static_cast<const Bytef*>(buffer), length);
    return true;
  }
  uint32_t Crc() const { return static_cast<uint32_t>(crc_); }

 private:
  payload::Source& inner_;
  uLong crc_;
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

bool StoreFile::FindWithFollowing(const char* name, payload::Member* member, payload::Member* following, int max,
                                  int* count) {
  *count = 0;
  if (!Find(name, member)) return false;
  payload::DirectoryCursor cursor(header_, directory_);
  payload::Member m;
  bool after = false;
  while (*count < max && cursor.Next(&m)) {
    // By its place in the directory: empty members share their offset.
    const bool found = m.name == member->name;
    if (after) {
      m.name = NULL;
      m.nameLength = 0;
      following[(*count)++] = m;
    }
    after = after || found;
  }
  return true;
}

bool StoreFile::PackedCrc(const payload::Member& member, const payload::Buffers& buffers, uint32_t* crc) {
  uLong sum = crc32(0L, Z_NULL, 0);
  for (uint32_t done = 0; done < member.packedSize;) {
    const uint32_t chunk = member.packedSize - done < buffers.inSize ? member.packedSize - done : buffers.inSize;
    if (!Read(member.offset + done, buffers.in, chunk)) return false;
    sum = crc32(sum, buffers.in, chunk);
    done += chunk;
  }
  *crc = static_cast<uint32_t>(sum);
  return true;
}

bool StoreFile::ExtractToMemory(const payload::Member& member, uint8_t* out, const payload::Buffers& buffers,
                                uint32_t* packedCrc) {
  Source source(*this);
  CrcSource counted(source);
  if (payload::ExtractMemberInto(counted, member, out, buffers) != payload::Status::Ok) return false;
  *packedCrc = counted.Crc();
  return true;
}

void StoreFile::GiveRecordedTime(const payload::Member& member, HANDLE file) {
  if (member.writeTime == 0) return;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(member.writeTime);
  time.dwHighDateTime = static_cast<DWORD>(member.writeTime >> 32);
  // The contents are right either way; a lost time is not worth a failure.
  (void)SetFileTime(file, NULL, NULL, &time);
}

bool StoreFile::ExtractTo(const payload::Member& member, HANDLE file, const payload::Buffers& buffers) {
  Source source(*this);
  FileSink sink(file);
  return payload::ExtractMember(source, member, sink, buffers) == payload::Status::Ok;
}

bool StoreFile::WriteUnpacked(const payload::Member& member, const uint8_t* bytes, HANDLE file) {
  FileSink sink(file);
  return member.size == 0 || sink.Write(bytes, member.size);
}
