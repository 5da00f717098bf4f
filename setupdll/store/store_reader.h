// Reading the payload store: header and directory checks, member lookup, and
// unpacking one member into a sink with its CRC-32 checked. Nothing here
// allocates except zlib's own state, so the support library decides where
// the directory and the buffers live.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace payload {

enum class Status {
  ok,
  bad_store,       // no store, another format, wrong size or a damaged directory
  not_found,       // no member of that name
  corrupt_member,  // data that does not unpack to its size and checksum
  read_failed,
  write_failed,
  no_memory,
};

struct Header {
  uint32_t member_count;
  uint32_t directory_size;
  uint32_t store_size;
  uint32_t directory_crc;
};

struct Member {
  uint32_t offset;
  uint32_t packed_size;
  uint32_t size;
  uint32_t crc;
  uint64_t write_time;  // FILETIME; 0 when not recorded
  uint8_t method;
  const char* name;  // points into the directory, not terminated
  uint8_t name_length;
};

// Random access to the store's bytes; a read past its end fails.
class Source {
 public:
  virtual bool read(uint32_t offset, void* buffer, uint32_t length) = 0;

 protected:
  ~Source() = default;
};

// Where unpacked bytes go, in order.
class Sink {
 public:
  virtual bool write(const void* data, uint32_t length) = 0;

 protected:
  ~Sink() = default;
};

// Checks the first kHeaderSize bytes of a store whose actual size in bytes is
// file_size. bad_store unless magic, version, header checksum, member count,
// directory size and store size all hold, the store size being at most
// kMaxStoreSize.
Status parse_header(const uint8_t* bytes, uint32_t file_size, Header* header);

// Checks the directory (header.directory_size bytes that follow the header):
// its checksum, that it holds exactly member_count well-formed entries, and
// that every member's data lies inside the store after the directory, and
// so below kMaxStoreSize.
Status check_directory(const Header& header, const uint8_t* directory);

// Walks a checked directory.
class DirectoryCursor {
 public:
  DirectoryCursor(const Header& header, const uint8_t* directory);
  bool next(Member* member);

 private:
  const uint8_t* at_;
  const uint8_t* end_;
};

// Looks a member up by name (file-system comparison, see names.h) in a
// checked directory.
Status find_member(const Header& header, const uint8_t* directory, const char* name,
                   Member* member);

// Buffers for unpacking; larger buffers mean fewer reads and writes.
struct Buffers {
  uint8_t* in;
  uint32_t in_size;
  uint8_t* out;
  uint32_t out_size;
};

// Unpacks a member into sink. Returns ok only when exactly member.size bytes
// came out and their CRC-32 is member.crc; the sink may have received bytes
// before any failure, so the caller discards them unless ok.
Status extract_member(Source& source, const Member& member, Sink& sink, const Buffers& buffers);

// Little-endian field access shared with the writer.
uint32_t read_u32(const uint8_t* p);
uint64_t read_u64(const uint8_t* p);

}  // namespace payload
