// Reading the payload store: checks, lookup and unpacking.
#include "store_reader.h"

#include <zlib.h>

#include "common/bounded_text.h"
#include "common/memory.h"
#include "names.h"
#include "store_format.h"

namespace payload {
namespace {

uint16_t read_u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t crc_of(const uint8_t* data, uint32_t length) {
  return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, length));
}

Member decode_entry(const uint8_t* p) {
  Member m;
  m.offset = read_u32(p);
  m.packed_size = read_u32(p + 4);
  m.size = read_u32(p + 8);
  m.crc = read_u32(p + 12);
  m.write_time = read_u64(p + 16);
  m.method = p[24];
  m.name_length = p[25];
  m.name = reinterpret_cast<const char*>(p + kEntryFixedSize);
  return m;
}

Status extract_stored(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  uLong crc = crc32(0L, Z_NULL, 0);
  uint32_t done = 0;
  while (done < member.size) {
    const uint32_t chunk = member.size - done < buffers.out_size ? member.size - done : buffers.out_size;
    if (!source.read(member.offset + done, buffers.out, chunk)) return Status::read_failed;
    crc = crc32(crc, buffers.out, chunk);
    if (!sink.write(buffers.out, chunk)) return Status::write_failed;
    done += chunk;
  }
  return static_cast<uint32_t>(crc) == member.crc ? Status::ok : Status::corrupt_member;
}

// inflate's memory comes from the program's heap, as all of ours does.
voidpf take_for_zlib(voidpf, uInt items, uInt size) {
  if (size != 0 && items > static_cast<uInt>(-1) / size) return Z_NULL;
  return TakeMemory(static_cast<size_t>(items) * size);
}

void give_for_zlib(voidpf, voidpf block) { GiveMemory(block); }

Status extract_deflated(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  z_stream stream;
  FillBytes(&stream, 0, sizeof stream);
  stream.zalloc = take_for_zlib;
  stream.zfree = give_for_zlib;
  // Raw deflate: the store keeps its own CRC-32, so zlib's Adler-32 would be
  // a second checksum over the same bytes.
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return Status::no_memory;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint32_t read = 0;
  uint32_t produced = 0;
  Status status = Status::corrupt_member;
  for (;;) {
    if (stream.avail_in == 0 && read < member.packed_size) {
      const uint32_t left = member.packed_size - read;
      const uint32_t chunk = left < buffers.in_size ? left : buffers.in_size;
      if (!source.read(member.offset + read, buffers.in, chunk)) {
        status = Status::read_failed;
        break;
      }
      read += chunk;
      stream.next_in = buffers.in;
      stream.avail_in = chunk;
    }
    stream.next_out = buffers.out;
    stream.avail_out = buffers.out_size;
    const int z = inflate(&stream, Z_NO_FLUSH);
    const uint32_t got = buffers.out_size - stream.avail_out;
    // Stop at the declared size: damaged data must not fill the disk.
    if (got > member.size - produced) break;
    if (got > 0) {
      crc = crc32(crc, buffers.out, got);
      if (!sink.write(buffers.out, got)) {
        status = Status::write_failed;
        break;
      }
      produced += got;
    }
    if (z == Z_STREAM_END) {
      const bool exact = produced == member.size && read == member.packed_size && stream.avail_in == 0 &&
                         static_cast<uint32_t>(crc) == member.crc;
      status = exact ? Status::ok : Status::corrupt_member;
      break;
    }
    if (z == Z_MEM_ERROR) {
      status = Status::no_memory;
      break;
    }
    // Z_BUF_ERROR with nothing left to read is a stream cut short.
    if (z != Z_OK && !(z == Z_BUF_ERROR && read < member.packed_size)) break;
  }
  inflateEnd(&stream);
  return status;
}

}  // namespace

uint32_t read_u32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t read_u64(const uint8_t* p) {
  return static_cast<uint64_t>(read_u32(p)) | (static_cast<uint64_t>(read_u32(p + 4)) << 32);
}

Status parse_header(const uint8_t* bytes, uint32_t file_size, Header* header) {
  if (file_size < kHeaderSize) return Status::bad_store;
  if (CompareBytes(bytes, kMagic, sizeof kMagic) != 0) return Status::bad_store;
  if (read_u16(bytes + 4) != kVersion || read_u16(bytes + 6) != 0) return Status::bad_store;
  if (read_u32(bytes + 28) != crc_of(bytes, 28)) return Status::bad_store;
  Header h;
  h.member_count = read_u32(bytes + 8);
  h.directory_size = read_u32(bytes + 12);
  h.store_size = read_u32(bytes + 16);
  h.directory_crc = read_u32(bytes + 20);
  if (h.store_size != file_size || h.store_size > kMaxStoreSize) return Status::bad_store;
  if (h.member_count > kMaxMembers || h.directory_size > kMaxDirectorySize) return Status::bad_store;
  if (h.directory_size > h.store_size - kHeaderSize) return Status::bad_store;
  *header = h;
  return Status::ok;
}

Status check_directory(const Header& header, const uint8_t* directory) {
  if (crc_of(directory, header.directory_size) != header.directory_crc) return Status::bad_store;
  const uint32_t data_start = kHeaderSize + header.directory_size;
  uint32_t at = 0;
  for (uint32_t i = 0; i < header.member_count; ++i) {
    if (header.directory_size - at < kEntryFixedSize) return Status::bad_store;
    const Member m = decode_entry(directory + at);
    if (m.name_length == 0 || header.directory_size - at - kEntryFixedSize < m.name_length) {
      return Status::bad_store;
    }
    if (m.method != kMethodStored && m.method != kMethodDeflate) return Status::bad_store;
    if (m.method == kMethodStored && m.packed_size != m.size) return Status::bad_store;
    if (m.offset < data_start || m.offset > header.store_size ||
        m.packed_size > header.store_size - m.offset) {
      return Status::bad_store;
    }
    at += kEntryFixedSize + m.name_length;
  }
  return at == header.directory_size ? Status::ok : Status::bad_store;
}

DirectoryCursor::DirectoryCursor(const Header& header, const uint8_t* directory)
    : at_(directory), end_(directory + header.directory_size) {}

bool DirectoryCursor::next(Member* member) {
  if (end_ - at_ < static_cast<ptrdiff_t>(kEntryFixedSize)) return false;
  *member = decode_entry(at_);
  at_ += kEntryFixedSize + member->name_length;
  return true;
}

Status find_member(const Header& header, const uint8_t* directory, const char* name,
                   Member* member) {
  const size_t length = TextLength(name);
  DirectoryCursor cursor(header, directory);
  Member m;
  while (cursor.next(&m)) {
    if (names_equal(m.name, m.name_length, name, length)) {
      *member = m;
      return Status::ok;
    }
  }
  return Status::not_found;
}

Status extract_member(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  if (member.method == kMethodStored) return extract_stored(source, member, sink, buffers);
  if (member.method == kMethodDeflate) return extract_deflated(source, member, sink, buffers);
  return Status::corrupt_member;
}

}  // namespace payload
