// Building a payload store.
#include "store_writer.h"

#include <zstd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "crc32.h"
#include "names.h"
#include "store_format.h"

namespace payload {
namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutU64(std::vector<uint8_t>& out, uint64_t v) {
  PutU32(out, static_cast<uint32_t>(v));
  PutU32(out, static_cast<uint32_t>(v >> 32));
}

}  // namespace

StoreWriter::StoreWriter(int level) { options_.level = level; }

StoreWriter::StoreWriter(const PackOptions& options) : options_(options) {}

bool StoreWriter::Add(const std::string& name, const uint8_t* data, size_t size, uint64_t writeTime) {
  if (name.find('\0') != std::string::npos || !IsPlainFileName(name.c_str())) {
    error_ = "not a plain file name: " + name;
    return false;
  }
  for (const Member& m : members_) {
    if (NamesEqual(m.name.data(), m.name.size(), name.data(), name.size())) {
      error_ = "two members named " + name;
      return false;
    }
  }
  if (members_.size() >= kMaxMembers) {
    error_ = "more than " + std::to_string(kMaxMembers) + " members";
    return false;
  }
  if (size > UINT32_MAX) {
    error_ = name + " is larger than 4 GB";
    return false;
  }
  const uint64_t entrySize = kEntryFixedSize + name.size();
  // Checked before the member is copied: a member too large for the store
  // costs no memory.
  if (options_.level == 0 && kHeaderSize + directorySize_ + entrySize + dataSize_ + size > kMaxStoreSize) {
    error_ = "the store would reach 2 GB with " + name + ", more than _SETUP.DLL can read";
    return false;
  }
  Member m;
  m.name = name;
  m.data.assign(data, data + size);
  m.crc = Crc32(0, data, size);
  m.writeTime = writeTime;
  directorySize_ += entrySize;
  dataSize_ += size;
  members_.push_back(std::move(m));
  return true;
}

// Frames follow from the members' sizes alone, so the store does not depend
// on how many threads pack it.
std::vector<StoreWriter::Frame> StoreWriter::PlanFrames() const {
  std::vector<Frame> frames;
  uint64_t inFrame = 0;
  for (size_t i = 0; i < members_.size(); ++i) {
    const uint64_t size = members_[i].data.size();
    const bool joins = !frames.empty() && options_.frameSize > 0 && inFrame > 0 && size > 0 &&
                       inFrame + size <= options_.frameSize;
    if (joins) {
      ++frames.back().count;
      inFrame += size;
    } else {
      frames.push_back(Frame{i, 1, {}});
      inFrame = size;
    }
  }
  return frames;
}

bool StoreWriter::Pack(Frame& frame) const {
  if (options_.level == 0) return true;
  std::vector<uint8_t> contents;
  for (size_t i = frame.first; i < frame.first + frame.count; ++i) {
    contents.insert(contents.end(), members_[i].data.begin(), members_[i].data.end());
  }
  if (contents.empty()) return true;
  ZSTD_CCtx* context = ZSTD_createCCtx();
  if (context == nullptr) return false;
  const int windowLog = options_.windowLog < kMaxWindowLog ? options_.windowLog : kMaxWindowLog;
  std::vector<uint8_t> out(ZSTD_compressBound(contents.size()));
  const bool set = !ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, options_.level)) &&
                   !ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, windowLog)) &&
                   !ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_contentSizeFlag, 1));
  const size_t packed = set ? ZSTD_compress2(context, out.data(), out.size(), contents.data(), contents.size()) : 0;
  ZSTD_freeCCtx(context);
  if (!set || ZSTD_isError(packed)) return false;
  // What does not shrink is stored, member by member.
  if (packed < contents.size()) {
    out.resize(packed);
    frame.bytes = std::move(out);
  }
  return true;
}

std::vector<uint8_t> StoreWriter::Finish(const std::function<void(const PackProgress&)>& progress) {
  std::vector<Frame> frames = PlanFrames();
  PackProgress done;
  done.totalMembers = members_.size();
  for (const Member& m : members_) done.totalBytesIn += m.data.size();
  std::mutex lock;
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  auto work = [&] {
    for (size_t f; !failed && (f = next++) < frames.size();) {
      if (!Pack(frames[f])) failed = true;
      std::lock_guard<std::mutex> hold(lock);
      done.members += frames[f].count;
      for (size_t i = frames[f].first; i < frames[f].first + frames[f].count; ++i) {
        done.bytesIn += members_[i].data.size();
      }
      done.bytesOut += frames[f].bytes.empty() ? 0 : frames[f].bytes.size();
      if (progress) progress(done);
    }
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < options_.threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
  if (failed) {
    error_ = "zstd failed to compress";
    return {};
  }

  // Entries and data in member order: a packed frame once, for all its
  // members; a stored member as its own frame.
  std::vector<uint8_t> directory;
  std::vector<uint8_t> data;
  directory.reserve(directorySize_);
  const uint64_t dataStart = kHeaderSize + directorySize_;
  for (const Frame& frame : frames) {
    uint32_t start = 0;
    const uint64_t frameOffset = dataStart + data.size();
    for (size_t i = frame.first; i < frame.first + frame.count; ++i) {
      const Member& m = members_[i];
      const bool packed = !frame.bytes.empty();
      const uint64_t offset = packed ? frameOffset : dataStart + data.size();
      if (offset + (packed ? frame.bytes.size() : m.data.size()) > kMaxStoreSize) {
        error_ = "the store would reach 2 GB with " + m.name + ", more than _SETUP.DLL can read";
        return {};
      }
      PutU32(directory, static_cast<uint32_t>(offset));
      PutU32(directory, static_cast<uint32_t>(packed ? frame.bytes.size() : m.data.size()));
      PutU32(directory, packed ? start : 0);
      PutU32(directory, static_cast<uint32_t>(m.data.size()));
      PutU32(directory, m.crc);
      PutU64(directory, m.writeTime);
      directory.push_back(packed ? kMethodZstd : kMethodStored);
      directory.push_back(static_cast<uint8_t>(m.name.size()));
      directory.insert(directory.end(), m.name.begin(), m.name.end());
      start += static_cast<uint32_t>(m.data.size());
      if (!packed) data.insert(data.end(), m.data.begin(), m.data.end());
    }
    if (!frame.bytes.empty()) data.insert(data.end(), frame.bytes.begin(), frame.bytes.end());
  }

  std::vector<uint8_t> store;
  store.reserve(dataStart + data.size());
  store.insert(store.end(), kMagic, kMagic + sizeof kMagic);
  PutU16(store, kVersion);
  PutU16(store, 0);
  PutU32(store, static_cast<uint32_t>(members_.size()));
  PutU32(store, static_cast<uint32_t>(directory.size()));
  PutU32(store, static_cast<uint32_t>(dataStart + data.size()));
  PutU32(store, Crc32(0, directory.data(), directory.size()));
  store.insert(store.end(), kFormat, kFormat + sizeof kFormat);
  PutU32(store, Crc32(0, store.data(), store.size()));
  store.insert(store.end(), directory.begin(), directory.end());
  store.insert(store.end(), data.begin(), data.end());
  return store;
}

}  // namespace payload
