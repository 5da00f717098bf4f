// Files on disk through the Windows 95 file API: no MoveFileEx (it does
// nothing useful on 9x), no FILE_SHARE_DELETE (9x rejects the flag).
#include "disk_files.h"

#include <windows.h>

#include "engine_api.h"

namespace {

constexpr DWORD kPathSize = MAX_PATH;

// The engine's own temporary names: the repaired copy (CVRxxxx.TMP) and the
// original while it stands aside (CVExxxx.TMP).  Setup's journal names its
// asides CVBxxxx.TMP and removes those it recorded, so the engine keeps clear
// of that prefix.
constexpr char kRepairPrefix[] = "CVR";
constexpr char kAsidePrefix[] = "CVE";

class HandleReader final : public ByteReader {
 public:
  explicit HandleReader(HANDLE file) : file_(file) {}
  bool Seek(uint64_t offset) override {
    LONG high = static_cast<LONG>(offset >> 32);
    // 0xFFFFFFFF is also a valid low half: only the error code tells.
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file_, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
  }
  long Read(void* buffer, size_t size) override {
    DWORD got = 0;
    if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
    return static_cast<long>(got);
  }

 private:
  HANDLE file_;
};

class HandleWriter final : public ByteWriter {
 public:
  explicit HandleWriter(HANDLE file) : file_(file) {}
  bool Write(const void* data, size_t size) override {
    DWORD written = 0;
    return WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  }

 private:
  HANDLE file_;
};

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Close() {
    if (Ok()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

HANDLE OpenForReading(const char* path) {
  // Others may keep the file open for writing; a file opened exclusively
  // (the 9x swap file, for one) cannot be read and is passed over.
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// The file's size from its folder entry, without opening it.
bool SizeOf(const char* path, uint64_t* size) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(path, &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  *size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  return true;
}

// The folder of `path`, ending in a backslash.  GetFullPathName finds the
// name part, minding double-byte characters.
bool FolderOf(const char* path, char (&folder)[kPathSize]) {
  char* name = nullptr;
  DWORD n = GetFullPathNameA(path, kPathSize, folder, &name);
  if (n == 0 || n >= kPathSize || !name) return false;
  *name = '\0';
  return true;
}

// Puts `repaired` in the place of `path`.  The original is first renamed
// aside, so that it can be put back if the second rename fails; it is
// deleted only when the repaired file is in place.  The repaired file takes
// over the original's attributes.
bool PutInPlace(const char* path, const char* repaired, const char* folder) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  char aside[kPathSize];
  if (!GetTempFileNameA(folder, kAsidePrefix, 0, aside)) return false;
  (void)DeleteFileA(aside);  // GetTempFileName made it; MoveFile wants the name free
  if (!MoveFileA(path, aside)) return false;
  if (!MoveFileA(repaired, path)) {
    (void)MoveFileA(aside, path);  // back under its name; both renames stay in one folder
    return false;
  }
  (void)SetFileAttributesA(aside, FILE_ATTRIBUTE_NORMAL);
  (void)DeleteFileA(aside);  // a leftover is harmless: the original is replaced either way
  (void)SetFileAttributesA(path, attributes);
  return true;
}

short RepairOnDisk(const char* path, const Finding& finding, unsigned char* buffer, size_t bufferSize) {
  char folder[kPathSize];
  if (!FolderOf(path, folder)) return CV_TREAT_ENDED;
  FileHandle in(OpenForReading(path));
  if (!in.Ok()) return CV_TREAT_ENDED;
  DWORD high = 0;
  DWORD low = GetFileSize(in.Get(), &high);
  if ((static_cast<uint64_t>(high) << 32 | low) != finding.fileSize) return CV_TREAT_ENDED;
  FILETIME created, accessed, written;
  bool haveTimes = GetFileTime(in.Get(), &created, &accessed, &written);

  // In the file's own folder, so that the final step is a rename on one drive.
  char temp[kPathSize];
  if (!GetTempFileNameA(folder, kRepairPrefix, 0, temp)) return CV_TREAT_ENDED;
  bool ok;
  {
    FileHandle out(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    HandleReader reader(in.Get());
    HandleWriter writer(out.Get());
    ok = out.Ok() && WriteRepaired(finding.plan, reader, writer, buffer, bufferSize);
    if (ok && haveTimes) (void)SetFileTime(out.Get(), &created, &accessed, &written);
  }
  in.Close();
  if (ok) ok = PutInPlace(path, temp, folder);
  if (!ok) {
    (void)DeleteFileA(temp);
    return CV_TREAT_ENDED;
  }
  return CV_TREAT_REPAIRED;
}

short DeleteOnDisk(const char* path, const Finding& finding) {
  uint64_t size = 0;
  if (!SizeOf(path, &size) || size != finding.fileSize) return CV_TREAT_ENDED;
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return CV_TREAT_ENDED;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    (void)SetFileAttributesA(path, writable ? writable : FILE_ATTRIBUTE_NORMAL);
  }
  if (DeleteFileA(path)) return CV_TREAT_DELETED;
  (void)SetFileAttributesA(path, attributes);
  return CV_TREAT_ENDED;
}

}  // namespace

bool ProbeFileOnDisk(const SignatureSet& signatures, const char* path, unsigned char* buffer,
                     size_t bufferSize, Finding* finding) {
  FileHandle file(OpenForReading(path));
  if (!file.Ok()) return false;
  HandleReader reader(file.Get());
  return ScanStream(signatures, reader, buffer, bufferSize, finding);
}

short TreatFileOnDisk(const char* path, const Finding& finding, unsigned char* buffer, size_t bufferSize) {
  switch (finding.treatment) {
    case Treatment::Repair: return RepairOnDisk(path, finding, buffer, bufferSize);
    case Treatment::Delete: return DeleteOnDisk(path, finding);
    case Treatment::Nothing: break;
  }
  return CV_TREAT_ENDED;
}
