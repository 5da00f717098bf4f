// Reading the payload store: checks, lookup and unpacking.
#include "store_reader.h"

#define ZSTD_STATIC_LINKING_ONLY  // the block-by-block calls of FrameDecoder
#include <zstd.h>
#include <zstd_errors.h>

#include "common/bounded_text.h"
#include "common/memory.h"
#include "crc32.h"
#include "names.h"
#include "store_format.h"

namespace payload {
namespace {

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Smaller(uint32_t a, uint32_t b) { return a < b ? a : b; }

Member DecodeEntry(const uint8_t* p) {
  Member m;
  m.offset = ReadU32(p);
  m.packedSize = ReadU32(p + 4);
  m.start = ReadU32(p + 8);
  m.size = ReadU32(p + 12);
  m.crc = ReadU32(p + 16);
  m.writeTime = ReadU64(p + 20);
  m.method = p[28];
  m.nameLength = p[29];
  m.name = reinterpret_cast<const char*>(p + kEntryFixedSize);
  return m;
}

Status ExtractStored(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  uint32_t crc = 0;
  uint32_t done = 0;
  while (done < member.size) {
    const uint32_t chunk = Smaller(member.size - done, buffers.outSize);
    if (!source.Read(member.offset + done, buffers.out, chunk)) return Status::ReadFailed;
    crc = Crc32(crc, buffers.out, chunk);
    if (!sink.Write(buffers.out, chunk)) return Status::WriteFailed;
    done += chunk;
  }
  return crc == member.crc ? Status::Ok : Status::CorruptMember;
}

Status StatusOf(size_t zstdResult) {
  return ZSTD_getErrorCode(zstdResult) == ZSTD_error_memory_allocation ? Status::NoMemory : Status::CorruptMember;
}

}  // namespace

Status WriteUnpacked(const uint8_t* bytes, const Member& member, Sink& sink) {
  // Small enough to stay in the cache between the two passes over it.
  const uint32_t kPiece = 256 * 1024;
  uint32_t crc = 0;
  for (uint32_t done = 0; done < member.size;) {
    const uint32_t piece = Smaller(member.size - done, kPiece);
    crc = Crc32(crc, bytes + done, piece);
    if (!sink.Write(bytes + done, piece)) return Status::WriteFailed;
    done += piece;
  }
  return crc == member.crc ? Status::Ok : Status::CorruptMember;
}

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
  if (ReadU32(bytes + 28) != Crc32(0, bytes, 28)) return Status::BadStore;
  Header h;
  h.version = ReadU16(bytes + 4);
  CopyBytes(h.format, bytes + 24, sizeof h.format);
  if (h.version != kVersion || CompareBytes(h.format, kFormat, sizeof kFormat) != 0) {
    header->version = h.version;
    CopyBytes(header->format, h.format, sizeof h.format);
    return Status::OtherFormat;
  }
  if (ReadU16(bytes + 6) != 0) return Status::BadStore;
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
  if (Crc32(0, directory, header.directorySize) != header.directoryCrc) return Status::BadStore;
  const uint32_t dataStart = kHeaderSize + header.directorySize;
  uint32_t at = 0;
  for (uint32_t i = 0; i < header.memberCount; ++i) {
    if (header.directorySize - at < kEntryFixedSize) return Status::BadStore;
    const Member m = DecodeEntry(directory + at);
    if (m.nameLength == 0 || header.directorySize - at - kEntryFixedSize < m.nameLength) {
      return Status::BadStore;
    }
    if (m.method != kMethodStored && m.method != kMethodZstd) return Status::BadStore;
    if (m.method == kMethodStored && (m.packedSize != m.size || m.start != 0)) return Status::BadStore;
    if (m.start > UINT32_MAX - m.size) return Status::BadStore;
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

Status Unpacker::Extract(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  if (member.method == kMethodStored) return ExtractStored(source, member, sink, buffers);
  if (member.method != kMethodZstd) return Status::CorruptMember;
  const Status status = ExtractPacked(source, member, sink, buffers);
  // A place reached through bad bytes is no place to go on from.
  if (status != Status::Ok) packedSize_ = 0;
  return status;
}

Status Unpacker::ExtractPacked(Source& source, const Member& member, Sink& sink, const Buffers& buffers) {
  if (!Resumes(member, buffers)) {
    const Status begun = Begin(source, member, buffers);
    if (begun != Status::Ok) return begun;
  }
  if (member.start + member.size > contentSize_) return Status::CorruptMember;
  // The members in front of this one in the frame are unpacked and dropped.
  uint32_t crc = 0;
  Status status = Unpack(source, nullptr, member.start - unpacked_, &crc, buffers);
  if (status != Status::Ok) return status;
  crc = 0;
  status = Unpack(source, &sink, member.size, &crc, buffers);
  if (status != Status::Ok) return status;
  if (crc != member.crc) return Status::CorruptMember;
  return unpacked_ == contentSize_ ? Finish(source, buffers) : Status::Ok;
}

bool Unpacker::Resumes(const Member& member, const Buffers& buffers) const {
  return packedSize_ != 0 && member.offset == frameOffset_ && member.packedSize == packedSize_ &&
         member.start >= unpacked_ && in_ == buffers.in;
}

Status Unpacker::Begin(Source& source, const Member& member, const Buffers& buffers) {
  packedSize_ = 0;
  if (decoder_ == nullptr) {
    decoder_ = ZSTD_createDCtx();
    if (decoder_ == nullptr) return Status::NoMemory;
  }
  (void)ZSTD_DCtx_reset(decoder_, ZSTD_reset_session_only);
  // A frame asking for a larger window is refused rather than given the
  // memory.
  if (ZSTD_isError(ZSTD_DCtx_setParameter(decoder_, ZSTD_d_windowLogMax, kMaxWindowLog))) return Status::NoMemory;
  frameOffset_ = member.offset;
  packedSize_ = member.packedSize;
  packedRead_ = 0;
  unpacked_ = 0;
  ended_ = false;
  inAt_ = inEnd_ = 0;
  in_ = buffers.in;
  if (!Refill(source, buffers)) return Status::ReadFailed;
  // The frame header, at most 18 bytes, when the buffer is smaller.
  uint8_t head[18];
  const uint8_t* from = buffers.in;
  uint32_t length = inEnd_;
  if (length < sizeof head && packedRead_ < packedSize_) {
    length = Smaller(sizeof head, packedSize_);
    if (!source.Read(frameOffset_, head, length)) return Status::ReadFailed;
    from = head;
  }
  const unsigned long long content = ZSTD_getFrameContentSize(from, length);
  if (content > UINT32_MAX) return Status::CorruptMember;  // unknown, or no frame header
  contentSize_ = static_cast<uint32_t>(content);
  return Status::Ok;
}

// Zstd always moves on while it has input and room: when it does not, the
// input it needs is past what the frame holds.
bool Unpacker::MoreToRead() const { return inAt_ == inEnd_ && packedRead_ < packedSize_; }

bool Unpacker::Refill(Source& source, const Buffers& buffers) {
  if (inAt_ != inEnd_ || packedRead_ == packedSize_) return true;
  const uint32_t chunk = Smaller(packedSize_ - packedRead_, buffers.inSize);
  if (!source.Read(frameOffset_ + packedRead_, buffers.in, chunk)) return false;
  packedRead_ += chunk;
  inAt_ = 0;
  inEnd_ = chunk;
  if (packedRead_ < packedSize_) {
    source.Expect(frameOffset_ + packedRead_, Smaller(packedSize_ - packedRead_, buffers.inSize));
  }
  return true;
}

// Fills buffers.out before handing it on: one write for every buffer of the
// member, however the frame's blocks fall.
Status Unpacker::Unpack(Source& source, Sink* sink, uint32_t length, uint32_t* crc, const Buffers& buffers) {
  while (length > 0) {
    ZSTD_outBuffer out = {buffers.out, Smaller(length, buffers.outSize), 0};
    while (out.pos < out.size) {
      if (!Refill(source, buffers)) return Status::ReadFailed;
      ZSTD_inBuffer in = {buffers.in, inEnd_, inAt_};
      const size_t before = out.pos;
      const size_t z = ZSTD_decompressStream(decoder_, &out, &in);
      const bool moved = in.pos != inAt_ || out.pos != before;
      inAt_ = static_cast<uint32_t>(in.pos);
      if (ZSTD_isError(z)) return StatusOf(z);
      ended_ = z == 0;
      // The frame's end before the member's, or nothing left to go on with.
      if (out.pos < out.size && (ended_ || (!moved && !MoreToRead()))) return Status::CorruptMember;
    }
    const uint32_t got = static_cast<uint32_t>(out.pos);
    if (sink != nullptr) {
      *crc = Crc32(*crc, buffers.out, got);
      if (!sink->Write(buffers.out, got)) return Status::WriteFailed;
    }
    unpacked_ += got;
    length -= got;
  }
  return Status::Ok;
}

// After the frame's last member: the frame must end there, with nothing
// after it.
Status Unpacker::Finish(Source& source, const Buffers& buffers) {
  while (!ended_) {
    if (!Refill(source, buffers)) return Status::ReadFailed;
    uint8_t extra;
    ZSTD_inBuffer in = {buffers.in, inEnd_, inAt_};
    ZSTD_outBuffer out = {&extra, 1, 0};
    const size_t z = ZSTD_decompressStream(decoder_, &out, &in);
    const bool moved = in.pos != inAt_;
    inAt_ = static_cast<uint32_t>(in.pos);
    if (ZSTD_isError(z)) return StatusOf(z);
    if (out.pos != 0) return Status::CorruptMember;
    ended_ = z == 0;
    if (!ended_ && !moved && !MoreToRead()) return Status::CorruptMember;
  }
  const bool allUsed = packedRead_ == packedSize_ && inAt_ == inEnd_;
  packedSize_ = 0;
  return allUsed ? Status::Ok : Status::CorruptMember;
}

void Unpacker::Release() {
  ZSTD_freeDCtx(decoder_);
  decoder_ = nullptr;
  packedSize_ = 0;
}

Status FrameDecoder::Begin(const uint8_t* packed, uint32_t packedSize, uint8_t* out, uint32_t capacity) {
  packed_ = packed;
  packedSize_ = packedSize;
  used_ = 0;
  out_ = out;
  contentSize_ = 0;
  decoded_ = 0;
  whole_ = false;
  ZSTD_frameHeader header;
  if (ZSTD_getFrameHeader(&header, packed, packedSize) != 0 || header.frameType != ZSTD_frame ||
      header.frameContentSize > UINT32_MAX) {
    return Status::CorruptMember;
  }
  if (header.frameContentSize > capacity || header.windowSize > kMaxWindow) return Status::NoMemory;
  contentSize_ = static_cast<uint32_t>(header.frameContentSize);
  if (decoder_ == nullptr) {
    decoder_ = ZSTD_createDCtx();
    if (decoder_ == nullptr) return Status::NoMemory;
  }
  const size_t begun = ZSTD_decompressBegin(decoder_);
  return ZSTD_isError(begun) ? StatusOf(begun) : Status::Ok;
}

Status FrameDecoder::Step() {
  while (!whole_) {
    const size_t need = ZSTD_nextSrcSizeToDecompress(decoder_);
    if (need == 0) {
      // The frame's end: nothing may follow it, and it gave all it said.
      whole_ = used_ == packedSize_ && decoded_ == contentSize_;
      return whole_ ? Status::Ok : Status::CorruptMember;
    }
    if (need > packedSize_ - used_) return Status::CorruptMember;
    const size_t got = ZSTD_decompressContinue(decoder_, out_ + decoded_, contentSize_ - decoded_, packed_ + used_, need);
    if (ZSTD_isError(got)) return StatusOf(got);
    used_ += static_cast<uint32_t>(need);
    decoded_ += static_cast<uint32_t>(got);
    // A block header or an empty block gives nothing: on to the next.
    if (got != 0) return Status::Ok;
  }
  return Status::Ok;
}

void FrameDecoder::Release() {
  ZSTD_freeDCtx(decoder_);
  decoder_ = nullptr;
}

}  // namespace payload
