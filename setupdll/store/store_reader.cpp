// Reading the payload store: checks, lookup and unpacking.
#include "store_reader.h"

#include <zlib.h>

#include "common/bounded_text.h"
#include "common/memory.h"
#include "names.h"
#include "store_format.h"

namespace payload {
namespace {

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t CrcOf(const uint8_t* data, uint32_t length) {
  return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, length));
}

Member DecodeEntry(const uint8_t* p) {
  Member m;
  m.offset = ReadU32(p);
  m.packedSize = ReadU32(p + 4);
  m.size = ReadU32(p + 8);
  m.crc = ReadU32(p + 12);
  m.writeTime = ReadU64(p + 16);
  m.method = p[24];
  m.nameLength = p[25];
  m.name = reinterpret_cast<const char*>(p + kEntryFixedSize);
  return m;
}

Status ExtractStored(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  uLong crc = crc32(0L, Z_NULL, 0);
  uint32_t done = 0;
  while (done < member.size) {
    const uint32_t chunk = member.size - done < buffers.outSize ? member.size - done : buffers.outSize;
    if (!source.Read(member.offset + done, buffers.out, chunk)) return Status::ReadFailed;
    crc = crc32(crc, buffers.out, chunk);
    if (!sink.Write(buffers.out, chunk)) return Status::WriteFailed;
    done += chunk;
  }
  return static_cast<uint32_t>(crc) == member.crc ? Status::Ok : Status::CorruptMember;
}

// inflate's memory comes from the program's heap, as all of ours does.
voidpf TakeForZlib(voidpf, uInt items, uInt size) {
  if (size != 0 && items > static_cast<uInt>(-1) / size) return Z_NULL;
  return TakeMemory(static_cast<size_t>(items) * size);
}

void GiveForZlib(voidpf, voidpf block) { GiveMemory(block); }

// inflate over a member's packed bytes, fed through buffers.in as it uses
// them up.  Raw deflate: the store keeps its own CRC-32, so zlib's Adler-32
// would be a second checksum over the same bytes.
class PackedInflate {
 public:
  PackedInflate(Source& source, const Member& member, const Buffers& buffers)
      : source_(source), member_(member), buffers_(buffers), read_(0) {
    FillBytes(&stream, 0, sizeof stream);
    stream.zalloc = TakeForZlib;
    stream.zfree = GiveForZlib;
    started_ = inflateInit2(&stream, -MAX_WBITS) == Z_OK;
  }
  ~PackedInflate() {
    if (started_) inflateEnd(&stream);
  }
  PackedInflate(const PackedInflate&) = delete;
  PackedInflate& operator=(const PackedInflate&) = delete;

  bool Started() const { return started_; }

  // Reads the next piece once the last one is used up; false when the
  // source fails.
  bool Feed() {
    if (stream.avail_in != 0 || read_ == member_.packedSize) return true;
    const uint32_t left = member_.packedSize - read_;
    const uint32_t chunk = left < buffers_.inSize ? left : buffers_.inSize;
    if (!source_.Read(member_.offset + read_, buffers_.in, chunk)) return false;
    read_ += chunk;
    stream.next_in = buffers_.in;
    stream.avail_in = chunk;
    return true;
  }

  // Every packed byte read and used: nothing trails the stream.
  bool AllUsed() const { return read_ == member_.packedSize && stream.avail_in == 0; }

  // After an inflate step that did not end the stream: true, with the
  // member's status, when the step leaves nothing to go on with.
  bool Stuck(int z, Status* status) const {
    *status = z == Z_MEM_ERROR ? Status::NoMemory : Status::CorruptMember;
    // Z_BUF_ERROR with nothing left to read is a stream cut short.
    return z != Z_OK && !(z == Z_BUF_ERROR && read_ < member_.packedSize);
  }

  z_stream stream;

 private:
  Source& source_;
  const Member& member_;
  const Buffers& buffers_;
  uint32_t read_;
  bool started_;
};

Status ExtractDeflated(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  PackedInflate inflater(source, member, buffers);
  if (!inflater.Started()) return Status::NoMemory;
  z_stream& stream = inflater.stream;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint32_t produced = 0;
  Status status = Status::CorruptMember;
  for (;;) {
    if (!inflater.Feed()) return Status::ReadFailed;
    stream.next_out = buffers.out;
    stream.avail_out = buffers.outSize;
    const int z = inflate(&stream, Z_NO_FLUSH);
    const uint32_t got = buffers.outSize - stream.avail_out;
    // Stop at the declared size: damaged data must not fill the disk.
    if (got > member.size - produced) return Status::CorruptMember;
    if (got > 0) {
      crc = crc32(crc, buffers.out, got);
      if (!sink.Write(buffers.out, got)) return Status::WriteFailed;
      produced += got;
    }
    if (z == Z_STREAM_END) {
      const bool exact = produced == member.size && inflater.AllUsed() && static_cast<uint32_t>(crc) == member.crc;
      return exact ? Status::Ok : Status::CorruptMember;
    }
    if (inflater.Stuck(z, &status)) return status;
  }
}

// As ExtractDeflated, with the whole member's room as inflate's output:
// nothing is copied through a buffer, and nothing is written past size.
Status InflateInto(Source& source, const Member& member, uint8_t* out, const Buffers& buffers) {
  PackedInflate inflater(source, member, buffers);
  if (!inflater.Started()) return Status::NoMemory;
  z_stream& stream = inflater.stream;
  stream.next_out = out;
  stream.avail_out = member.size;
  Status status = Status::CorruptMember;
  for (;;) {
    if (!inflater.Feed()) return Status::ReadFailed;
    const int z = inflate(&stream, Z_NO_FLUSH);
    if (z == Z_STREAM_END) {
      const bool exact = stream.avail_out == 0 && inflater.AllUsed() && CrcOf(out, member.size) == member.crc;
      return exact ? Status::Ok : Status::CorruptMember;
    }
    // No room left before the stream's end: more than the declared size.
    if (z == Z_BUF_ERROR && stream.avail_out == 0) return Status::CorruptMember;
    if (inflater.Stuck(z, &status)) return status;
  }
}

}  // namespace

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t ReadU64(const uint8_t* p) {
  return static_cast<uint64_t>(ReadU32(p)) | (static_cast<uint64_t>(ReadU32(p + 4)) << 32);
}

Status ParseHeader(const uint8_t* bytes, uint32_t fileSize, Header* header) {
  if (fileSize < kHeaderSize) return Status::BadStore;
  if (CompareBytes(bytes, kMagic, sizeof kMagic) != 0) return Status::BadStore;
  if (ReadU16(bytes + 4) != kVersion || ReadU16(bytes + 6) != 0) return Status::BadStore;
  if (ReadU32(bytes + 28) != CrcOf(bytes, 28)) return Status::BadStore;
  Header h;
  h.memberCount = ReadU32(bytes + 8);
  h.directorySize = ReadU32(bytes + 12);
  h.storeSize = ReadU32(bytes + 16);
  h.directoryCrc = ReadU32(bytes + 20);
  if (h.storeSize != fileSize || h.storeSize > kMaxStoreSize) return Status::BadStore;
  if (h.memberCount > kMaxMembers || h.directorySize > kMaxDirectorySize) return Status::BadStore;
  if (h.directorySize > h.storeSize - kHeaderSize) return Status::BadStore;
  *header = h;
  return Status::Ok;
}

Status CheckDirectory(const Header& header, const uint8_t* directory) {
  if (CrcOf(directory, header.directorySize) != header.directoryCrc) return Status::BadStore;
  const uint32_t dataStart = kHeaderSize + header.directorySize;
  uint32_t at = 0;
  for (uint32_t i = 0; i < header.memberCount; ++i) {
    if (header.directorySize - at < kEntryFixedSize) return Status::BadStore;
    const Member m = DecodeEntry(directory + at);
    if (m.nameLength == 0 || header.directorySize - at - kEntryFixedSize < m.nameLength) {
      return Status::BadStore;
    }
    if (m.method != kMethodStored && m.method != kMethodDeflate) return Status::BadStore;
    if (m.method == kMethodStored && m.packedSize != m.size) return Status::BadStore;
    if (m.offset < dataStart || m.offset > header.storeSize ||
        m.packedSize > header.storeSize - m.offset) {
      return Status::BadStore;
    }
    at += kEntryFixedSize + m.nameLength;
  }
  return at == header.directorySize ? Status::Ok : Status::BadStore;
}

DirectoryCursor::DirectoryCursor(const Header& header, const uint8_t* directory)
    : at_(directory), end_(directory + header.directorySize) {}

bool DirectoryCursor::Next(Member* member) {
  if (end_ - at_ < static_cast<ptrdiff_t>(kEntryFixedSize)) return false;
  *member = DecodeEntry(at_);
  at_ += kEntryFixedSize + member->nameLength;
  return true;
}

Status FindMember(const Header& header, const uint8_t* directory, const char* name,
                  Member* member) {
  const size_t length = TextLength(name);
  DirectoryCursor cursor(header, directory);
  Member m;
  while (cursor.Next(&m)) {
    if (NamesEqual(m.name, m.nameLength, name, length)) {
      *member = m;
      return Status::Ok;
    }
  }
  return Status::NotFound;
}

Status ExtractMember(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  if (member.method == kMethodStored) return ExtractStored(source, member, sink, buffers);
  if (member.method == kMethodDeflate) return ExtractDeflated(source, member, sink, buffers);
  return Status::CorruptMember;
}

Status ExtractMemberInto(Source& source, const Member& member, uint8_t* out, const Buffers& buffers) {
  if (member.method == kMethodDeflate) return InflateInto(source, member, out, buffers);
  if (member.method != kMethodStored) return Status::CorruptMember;
  if (member.size > 0 && !source.Read(member.offset, out, member.size)) return Status::ReadFailed;
  return CrcOf(out, member.size) == member.crc ? Status::Ok : Status::CorruptMember;
}

}  // namespace payload
