// Reading the payload store: header and directory checks, member lookup, and
// unpacking one member into a sink with its CRC-32 checked. Nothing here
// allocates except zlib's own state, so the support library decides where
// the directory and the buffers live.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace payload {

enum class Status {
  Ok,
  BadStore,       // no store, another format, wrong size or a damaged directory
  NotFound,       // no member of that name
  CorruptMember,  // data that does not unpack to its size and checksum
  ReadFailed,
  WriteFailed,
  NoMemory,
};

struct Header {
  uint32_t memberCount;
  uint32_t directorySize;
  uint32_t storeSize;
  uint32_t directoryCrc;
};

struct Member {
  uint32_t offset;
  uint32_t packedSize;
  uint32_t size;
  uint32_t crc;
  uint64_t writeTime;  // FILETIME; 0 when not recorded
  uint8_t method;
  const char* name;  // points into the directory, not terminated
  uint8_t nameLength;
};

// Random access to the store's bytes; a read past its end fails.
class Source {
 public:
  virtual bool Read(uint32_t offset, void* buffer, uint32_t length) = 0;

 protected:
  ~Source() = default;
};

// Where unpacked bytes go, in order.
class Sink {
 public:
  virtual bool Write(const void* data, uint32_t length) = 0;

 protected:
  ~Sink() = default;
};

// Checks the first kHeaderSize bytes of a store whose actual size in bytes is
// fileSize. BadStore unless magic, version, header checksum, member count,
// directory size and store size all hold, the store size being at most
// kMaxStoreSize.
Status ParseHeader(const uint8_t* bytes, uint32_t fileSize, Header* header);

// Checks the directory (header.directorySize bytes that follow the header):
// its checksum, that it holds exactly memberCount well-formed entries, and
// that every member's data lies inside the store after the directory, and
// so below kMaxStoreSize.
Status CheckDirectory(const Header& header, const uint8_t* directory);

// Walks a checked directory.
class DirectoryCursor {
 public:
  DirectoryCursor(const Header& header, const uint8_t* directory);
  bool Next(Member* member);

 private:
  const uint8_t* at_;
  const uint8_t* end_;
};

// Looks a member up by name (file-system comparison, see names.h) in a
// checked directory.
Status FindMember(const Header& header, const uint8_t* directory, const char* name,
                  Member* member);

// Buffers for unpacking; larger buffers mean fewer reads and writes.
struct Buffers {
  uint8_t* in;
  uint32_t inSize;
  uint8_t* out;
  uint32_t outSize;
};

// Unpacks a member into sink. Returns Ok only when exactly member.size bytes
// came out and their CRC-32 is member.crc; the sink may have received bytes
// before any failure, so the caller discards them unless Ok.
Status ExtractMember(Source& source, const Member& member, Sink& sink, const Buffers& buffers);

// As ExtractMember, into out, which has room for exactly member.size bytes:
// the whole member in memory, inflated in place (buffers.out is not used).
// On failure out may hold any bytes.
Status ExtractMemberInto(Source& source, const Member& member, uint8_t* out, const Buffers& buffers);

// Little-endian field access shared with the writer.
uint32_t ReadU32(const uint8_t* p);
uint64_t ReadU64(const uint8_t* p);

}  // namespace payload
