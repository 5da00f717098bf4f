// Reading the payload store: header and directory checks, member lookup, and
// unpacking one member into a sink with its CRC-32 checked. Nothing here
// allocates except zstd's decoder, so the support library decides where the
// directory and the buffers live.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct ZSTD_DCtx_s;

namespace payload {

enum class Status {
  Ok,
  BadStore,       // no store, wrong size or a damaged directory
  OtherFormat,    // a store of another format or version
  NotFound,       // no member of that name
  CorruptMember,  // data that does not unpack to its size and checksum
  ReadFailed,
  WriteFailed,
  NoMemory,
};

struct Header {
  uint16_t version;
  char format[4];
  uint32_t memberCount;
  uint32_t directorySize;
  uint32_t storeSize;
  uint32_t directoryCrc;
};

struct Member {
  uint32_t offset;      // of its frame
  uint32_t packedSize;  // of its frame
  uint32_t start;       // in its frame's unpacked contents
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
  // What the next Read will most likely ask for, so that a source may read it
  // ahead while the caller works on what it has.
  virtual void Expect(uint32_t offset, uint32_t length) {
    (void)offset;
    (void)length;
  }

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
// fileSize. OtherFormat, with *header's version and format filled in, for a
// whole header (magic and checksum hold) of another version or format;
// BadStore unless magic, version, format, header checksum, member count,
// directory size and store size all hold, the store size being at most
// kMaxStoreSize.
Status ParseHeader(const uint8_t* bytes, uint32_t fileSize, Header* header);

// Checks the directory (header.directorySize bytes that follow the header):
// its checksum, that it holds exactly memberCount well-formed entries, and
// that every member's frame lies inside the store after the directory, and
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

// Unpacks members from their frames with one zstd decoder, kept with its
// place in the frame between calls: the member that follows in the same
// frame goes on from there instead of unpacking the frame again from its
// start. Its memory (the decoder's window, at most kMaxWindow, and its
// tables) is taken at the first member of a frame and kept until Release.
class Unpacker {
 public:
  Unpacker() = default;
  ~Unpacker() { Release(); }
  Unpacker(const Unpacker&) = delete;
  Unpacker& operator=(const Unpacker&) = delete;

  // Unpacks a member into sink, through buffers (the same ones from call to
  // call: buffers.in holds packed bytes not yet used). Returns Ok only when
  // exactly member.size bytes came out and their CRC-32 is member.crc; the
  // sink may have received bytes before any failure, so the caller discards
  // them unless Ok. Member bytes are never written past member.size.
  Status Extract(Source& source, const Member& member, Sink& sink, const Buffers& buffers);

  // Whether Extract would go on with member from where the last one ended,
  // rather than start its frame again.
  bool GoesOnWith(const Member& member, const Buffers& buffers) const { return Resumes(member, buffers); }

  // Forgets the place in the frame and gives the decoder's memory back.
  void Release();

 private:
  Status ExtractPacked(Source& source, const Member& member, Sink& sink, const Buffers& buffers);
  Status Begin(Source& source, const Member& member, const Buffers& buffers);
  Status Unpack(Source& source, Sink* sink, uint32_t length, uint32_t* crc, const Buffers& buffers);
  Status Finish(Source& source, const Buffers& buffers);
  bool Refill(Source& source, const Buffers& buffers);
  bool MoreToRead() const;
  bool Resumes(const Member& member, const Buffers& buffers) const;

  ::ZSTD_DCtx_s* decoder_ = nullptr;
  uint32_t frameOffset_ = 0;  // of the frame being unpacked
  uint32_t packedSize_ = 0;   // 0: none
  uint32_t packedRead_ = 0;
  uint32_t contentSize_ = 0;  // the frame's, as its header gives it
  uint32_t unpacked_ = 0;     // of the frame's contents, handed on
  bool ended_ = false;     // the decoder has given the frame's last byte
  uint32_t inAt_ = 0;      // buffers.in holds packed bytes [inAt_, inEnd_)
  uint32_t inEnd_ = 0;
  const uint8_t* in_ = nullptr;
};

// Unpacks one zstd frame, held whole in memory, into memory a block at a
// time, so that the work can stop after any block and go on later, on any
// thread. The frame's contents go straight to their place: the decoder keeps
// no window of its own. The bytes before Decoded() are final once counted;
// they are not checked against any member's checksum: whoever uses them
// checks each member's.
class FrameDecoder {
 public:
  FrameDecoder() = default;
  ~FrameDecoder() { Release(); }
  FrameDecoder(const FrameDecoder&) = delete;
  FrameDecoder& operator=(const FrameDecoder&) = delete;

  // Starts on the frame in packed[0, packedSize) (kept by the caller until
  // the frame is done), to unpack into out, which has room for capacity
  // bytes. NoMemory for contents larger than capacity or a window larger
  // than kMaxWindow (refused as the unpacker refuses it); CorruptMember when
  // the header is not whole or does not give the contents' size.
  Status Begin(const uint8_t* packed, uint32_t packedSize, uint8_t* out, uint32_t capacity);
  // Unpacks the next block. Ok while the frame holds; once Whole(), a call
  // does nothing.
  Status Step();
  // The frame ended exactly where its bytes end, with the size it gave.
  bool Whole() const { return whole_; }
  uint32_t Decoded() const { return decoded_; }
  uint32_t ContentSize() const { return contentSize_; }

  void Release();

 private:
  ::ZSTD_DCtx_s* decoder_ = nullptr;
  const uint8_t* packed_ = nullptr;
  uint32_t packedSize_ = 0;
  uint32_t used_ = 0;
  uint8_t* out_ = nullptr;
  uint32_t contentSize_ = 0;
  uint32_t decoded_ = 0;
  bool whole_ = false;
};

// Writes member's bytes, unpacked before into memory, a piece at a time,
// each piece's CRC-32 taken just before it is written, while its bytes are
// still in the processor's cache. CorruptMember when the whole does not hold
// the member's checksum (every byte has gone to sink by then: its caller
// throws the file away).
Status WriteUnpacked(const uint8_t* bytes, const Member& member, Sink& sink);

// Little-endian field access shared with the writer.
uint32_t ReadU32(const uint8_t* p);
uint64_t ReadU64(const uint8_t* p);

}  // namespace payload
