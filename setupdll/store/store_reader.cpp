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

Status ExtractDeflated(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  z_stream stream;
  FillBytes(&stream, 0, sizeof stream);
  stream.zalloc = TakeForZlib;
  stream.zfree = GiveForZlib;
  // Raw deflate: the store keeps its own CRC-32, so zlib's Adler-32 would be
  // a second checksum over the same bytes.
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return Status::NoMemory;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint32_t read = 0;
  uint32_t produced = 0;
  Status status = Status::CorruptMember;
  for (;;) {
    if (stream.avail_in == 0 && read < member.packedSize) {
      const uint32_t left = member.packedSize - read;
      const uint32_t chunk = left < buffers.inSize ? left : buffers.inSize;
      if (!source.Read(member.offset + read, buffers.in, chunk)) {
        status = Status::ReadFailed;
        break;
      }
      read += chunk;
      stream.next_in = buffers.in;
      stream.avail_in = chunk;
    }
    stream.next_out = buffers.out;
    stream.avail_out = buffers.outSize;
    const int z = inflate(&stream, Z_NO_FLUSH);
    const uint32_t got = buffers.outSize - stream.avail_out;
    // Stop at the declared size: damaged data must not fill the disk.
    if (got > member.size - produced) break;
    if (got > 0) {
      crc = crc32(crc, buffers.out, got);
      if (!sink.Write(buffers.out, got)) {
        status = Status::WriteFailed;
        break;
      }
      produced += got;
    }
    if (z == Z_STREAM_END) {
      const bool exact = produced == member.size && read == member.packedSize && stream.avail_in == 0 &&
                         static_cast<uint32_t>(crc) == member.crc;
      status = exact ? Status::Ok : Status::CorruptMember;
      break;
    }
    if (z == Z_MEM_ERROR) {
      status = Status::NoMemory;
      break;
    }
    // Z_BUF_ERROR with nothing left to read is a stream cut short.
    if (z != Z_OK && !(z == Z_BUF_ERROR && read < member.packedSize)) break;
  }
  inflateEnd(&stream);
  return status;
}

// As ExtractDeflated, with the whole member's room as inflate's output:
// nothing is copied through a buffer, and nothing is written past size.
Status InflateInto(Source& source, const Member& member, uint8_t* out, const Buffers& buffers) {
  z_stream stream;
  FillBytes(&stream, 0, sizeof stream);
  stream.zalloc = TakeForZlib;
  stream.zfree = GiveForZlib;
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return Status::NoMemory;
  stream.next_out = out;
  stream.avail_out = member.size;
  uint32_t read = 0;
  Status status = Status::CorruptMember;
  for (;;) {
    if (stream.avail_in == 0 && read < member.packedSize) {
      const uint32_t left = member.packedSize - read;
      const uint32_t chunk = left < buffers.inSize ? left : buffers.inSize;
      if (!source.Read(member.offset + read, buffers.in, chunk)) {
        status = Status::ReadFailed;
        break;
      }
      read += chunk;
      stream.next_in = buffers.in;
      stream.avail_in = chunk;
    }
    const int z = inflate(&stream, Z_NO_FLUSH);
    if (z == Z_STREAM_END) {
      const bool exact = stream.avail_out == 0 && read == member.packedSize && stream.avail_in == 0 &&
                         CrcOf(out, member.size) == member.crc;
      status = exact ? Status::Ok : Status::CorruptMember;
      break;
    }
    if (z == Z_MEM_ERROR) {
      status = Status::NoMemory;
      break;
    }
    // No room left before the stream's end: more than the declared size.
    if (z == Z_BUF_ERROR && stream.avail_out == 0) break;
    // Z_BUF_ERROR with nothing left to read is a stream cut short.
    if (z != Z_OK && !(z == Z_BUF_ERROR && read < member.packedSize)) break;
  }
  inflateEnd(&stream);
  return status;
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
