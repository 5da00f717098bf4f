// The payload store: what the writer packs, the reader gives back byte for
// byte, and every kind of damage is refused before a byte counts as good.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "crc32.h"
#include "store_format.h"
#include "store_reader.h"
#include "store_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using payload::Status;

class MemorySource : public payload::Source {
 public:
  explicit MemorySource(const Bytes& bytes) : bytes_(bytes) {}
  bool Read(uint32_t offset, void* buffer, uint32_t length) override {
    if (failReads || offset > bytes_.size() || length > bytes_.size() - offset) return false;
    std::memcpy(buffer, bytes_.data() + offset, length);
    return true;
  }
  bool failReads = false;

 private:
  const Bytes& bytes_;
};

class MemorySink : public payload::Sink {
 public:
  bool Write(const void* data, uint32_t length) override {
    if (bytes.size() + length > capacity) return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + length);
    return true;
  }
  Bytes bytes;
  size_t capacity = SIZE_MAX;
};

Bytes TextBytes(size_t size) {
  const std::string line = "Corvane scan engine signature table, entry ";
  Bytes out;
  for (size_t i = 0; out.size() < size; ++i) {
    const std::string s = line + std::to_string(i) + "\r\n";
    out.insert(out.end(), s.begin(), s.end());
  }
  out.resize(size);
  return out;
}

Bytes RandomBytes(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

// An opened store as the support library sees it.
struct Opened {
  Status status;
  payload::Header header;
  const uint8_t* directory;
};

Opened OpenStore(const Bytes& store) {
  Opened o{Status::BadStore, {}, nullptr};
  if (store.size() < payload::kHeaderSize) return o;
  o.status = payload::ParseHeader(store.data(), static_cast<uint32_t>(store.size()), &o.header);
  if (o.status != Status::Ok) return o;
  o.directory = store.data() + payload::kHeaderSize;
  o.status = payload::CheckDirectory(o.header, o.directory);
  return o;
}

// Unpacks members of one store, one unpacker and one set of buffers for all
// of them, as the support library does from call to call.
class Reader {
 public:
  explicit Reader(const Bytes& store, uint32_t inSize = 4096, uint32_t outSize = 4096)
      : store_(store), in_(inSize), out_(outSize), source_(store) {}

  Status Extract(const char* name, Bytes* out) {
    out->clear();
    const Opened o = OpenStore(store_);
    if (o.status != Status::Ok) return o.status;
    payload::Member m;
    const Status found = payload::FindMember(o.header, o.directory, name, &m);
    if (found != Status::Ok) return found;
    const payload::Buffers buffers{in_.data(), static_cast<uint32_t>(in_.size()), out_.data(),
                                   static_cast<uint32_t>(out_.size())};
    MemorySink sink;
    const Status status = unpacker_.Extract(source_, m, sink, buffers);
    *out = sink.bytes;
    EXPECT_LE(out->size(), m.size) << name;
    return status;
  }

 private:
  const Bytes& store_;
  Bytes in_, out_;
  MemorySource source_;
  payload::Unpacker unpacker_;
};

// Looks name up and unpacks it with the given buffer sizes.
Status Extract(const Bytes& store, const char* name, Bytes* out, uint32_t inSize = 4096,
               uint32_t outSize = 4096) {
  return Reader(store, inSize, outSize).Extract(name, out);
}

// Writes the checksums anew after a test changed the directory, so that only
// the structural checks stand between the change and the reader.
void Reseal(Bytes& store) {
  const uint32_t dirSize = payload::ReadU32(store.data() + 12);
  const uint32_t dirCrc = static_cast<uint32_t>(crc32(0, store.data() + payload::kHeaderSize, dirSize));
  for (int i = 0; i < 4; ++i) store[20 + i] = static_cast<uint8_t>(dirCrc >> (8 * i));
  const uint32_t headCrc = static_cast<uint32_t>(crc32(0, store.data(), 28));
  for (int i = 0; i < 4; ++i) store[28 + i] = static_cast<uint8_t>(headCrc >> (8 * i));
}

void PutU32(Bytes& store, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) store[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text_ = TextBytes(200000);
    noise_ = RandomBytes(5000, 7);
    payload::StoreWriter writer;
    ASSERT_TRUE(writer.Add("CV32W.EXE", text_.data(), text_.size(), 0x01C0FFEE12345678ull));
    ASSERT_TRUE(writer.Add("noise.bin", noise_.data(), noise_.size()));
    ASSERT_TRUE(writer.Add("empty.txt", nullptr, 0));
    ASSERT_TRUE(writer.Add("예약검사.dat", text_.data(), 1000));
    store_ = writer.Finish();
  }

  // Directory entry i's offset in the store.
  size_t EntryAt(int index) const {
    size_t at = payload::kHeaderSize;
    for (int i = 0; i < index; ++i) at += payload::kEntryFixedSize + store_[at + 29];
    return at;
  }

  Bytes text_, noise_, store_;
};

// The store's CRC-32 is zlib's, whatever the length, the alignment of the
// bytes and the pieces they come in.
TEST(Crc32Test, IsZlibsForAnyLengthAlignmentAndSplit) {
  const Bytes data = RandomBytes(4099, 5);
  for (size_t start : {0, 1, 3}) {
    for (size_t length = 0; start + length <= data.size(); length = length * 2 + 1) {
      const uint8_t* p = data.data() + start;
      const uint32_t zlib = static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(length)));
      EXPECT_EQ(zlib, payload::Crc32(0, p, length)) << start << " " << length;
      EXPECT_EQ(zlib, payload::Crc32(payload::Crc32(0, p, length / 2), p + length / 2, length - length / 2)) << length;
    }
  }
}

// Bytes unpacked ahead go out a piece at a time, whole and in order, and
// only when their checksum holds.
TEST(WriteUnpacked, PiecesMakeTheWholeMemberAndItsChecksumIsChecked) {
  const Bytes data = RandomBytes(700000, 9);
  for (uint32_t size : {0u, 1u, 262143u, 262144u, 262145u, 700000u}) {
    payload::Member m{};
    m.size = size;
    m.crc = payload::Crc32(0, data.data(), size);
    MemorySink sink;
    EXPECT_EQ(Status::Ok, payload::WriteUnpacked(data.data(), m, sink)) << size;
    EXPECT_EQ(Bytes(data.begin(), data.begin() + size), sink.bytes) << size;
    m.crc ^= 1;
    EXPECT_EQ(Status::CorruptMember, payload::WriteUnpacked(data.data(), m, sink)) << size;
  }
  payload::Member m{};
  m.size = 700000;
  MemorySink full;
  full.capacity = 300000;
  EXPECT_EQ(Status::WriteFailed, payload::WriteUnpacked(data.data(), m, full));
}

TEST_F(StoreTest, MembersComeBackByteExactInAnyLetterCase) {
  Bytes out;
  ASSERT_EQ(Status::Ok, Extract(store_, "cv32w.exe", &out));
  EXPECT_EQ(text_, out);
  ASSERT_EQ(Status::Ok, Extract(store_, "NOISE.BIN", &out));
  EXPECT_EQ(noise_, out);
  ASSERT_EQ(Status::Ok, Extract(store_, "Empty.TXT", &out));
  EXPECT_TRUE(out.empty());
  ASSERT_EQ(Status::Ok, Extract(store_, "예약검사.DAT", &out));
  EXPECT_EQ(Bytes(text_.begin(), text_.begin() + 1000), out);
  EXPECT_EQ(Status::NotFound, Extract(store_, "CV32W.EX", &out));
}

TEST_F(StoreTest, TinyBuffersGiveTheSameBytes) {
  Bytes out;
  ASSERT_EQ(Status::Ok, Extract(store_, "CV32W.EXE", &out, 1, 1));
  EXPECT_EQ(text_, out);
  ASSERT_EQ(Status::Ok, Extract(store_, "noise.bin", &out, 3, 7));
  EXPECT_EQ(noise_, out);
}

TEST_F(StoreTest, PacksWhatShrinksAndStoresWhatDoesNot) {
  const Opened o = OpenStore(store_);
  ASSERT_EQ(Status::Ok, o.status);
  payload::DirectoryCursor cursor(o.header, o.directory);
  payload::Member m;
  ASSERT_TRUE(cursor.Next(&m));
  EXPECT_EQ(payload::kMethodZstd, m.method);
  EXPECT_LT(m.packedSize, text_.size() / 10);
  EXPECT_EQ(0x01C0FFEE12345678ull, m.writeTime);
  ASSERT_TRUE(cursor.Next(&m));
  EXPECT_EQ(payload::kMethodStored, m.method);
  EXPECT_EQ(noise_.size(), m.packedSize);
  ASSERT_TRUE(cursor.Next(&m));
  EXPECT_EQ(0u, m.size);
  ASSERT_TRUE(cursor.Next(&m));
  EXPECT_FALSE(cursor.Next(&m));
  EXPECT_EQ(store_.size(), o.header.storeSize);
}

TEST_F(StoreTest, EveryDamagedByteOfAMemberIsCaught) {
  for (const char* name : {"예약검사.dat", "noise.bin"}) {
    const Opened o = OpenStore(store_);
    payload::Member m;
    ASSERT_EQ(Status::Ok, payload::FindMember(o.header, o.directory, name, &m));
    for (uint32_t i = 0; i < m.packedSize; ++i) {
      Bytes damaged = store_;
      damaged[m.offset + i] ^= 0xFF;
      Bytes out;
      EXPECT_EQ(Status::CorruptMember, Extract(damaged, name, &out)) << name << " byte " << i;
      EXPECT_LE(out.size(), m.size);
    }
  }
}

TEST_F(StoreTest, EveryDamagedByteOfHeaderOrDirectoryRefusesTheStore) {
  const size_t end = payload::kHeaderSize + payload::ReadU32(store_.data() + 12);
  for (size_t i = 0; i < end; ++i) {
    Bytes damaged = store_;
    damaged[i] ^= 0x01;
    Bytes out;
    EXPECT_EQ(Status::BadStore, Extract(damaged, "empty.txt", &out)) << "byte " << i;
  }
}

TEST_F(StoreTest, ATruncatedOrExtendedStoreIsRefusedForEveryMember) {
  for (size_t length : {size_t(0), size_t(31), size_t(32), size_t(100), store_.size() - 1}) {
    const Bytes cut(store_.begin(), store_.begin() + length);
    Bytes out;
    EXPECT_EQ(Status::BadStore, Extract(cut, "empty.txt", &out)) << length;
  }
  Bytes longer = store_;
  longer.push_back(0);
  Bytes out;
  EXPECT_EQ(Status::BadStore, Extract(longer, "empty.txt", &out));
}

TEST_F(StoreTest, DirectoryEntriesPointingOutsideTheStoreAreRefused) {
  struct Change {
    const char* what;
    size_t field;
    uint32_t value;
  };
  const uint32_t size = static_cast<uint32_t>(store_.size());
  for (const Change& c : {Change{"offset past end", 0, size + 1}, Change{"offset into header", 0, 4},
                          Change{"packed past end", 4, size}, Change{"packed size near 4 GB", 4, 0xFFFFFFF0u}}) {
    Bytes damaged = store_;
    PutU32(damaged, EntryAt(1) + c.field, c.value);
    Reseal(damaged);
    EXPECT_EQ(Status::BadStore, OpenStore(damaged).status) << c.what;
  }
}

TEST_F(StoreTest, MalformedDirectoriesAreRefused) {
  Bytes damaged = store_;
  damaged[EntryAt(2) + 28] = 7;  // unknown method
  Reseal(damaged);
  EXPECT_EQ(Status::BadStore, OpenStore(damaged).status);

  damaged = store_;
  PutU32(damaged, EntryAt(1) + 12, 4999);  // stored member whose sizes disagree
  Reseal(damaged);
  EXPECT_EQ(Status::BadStore, OpenStore(damaged).status);

  damaged = store_;
  PutU32(damaged, 8, 5);  // one member more than the directory holds
  Reseal(damaged);
  EXPECT_EQ(Status::BadStore, OpenStore(damaged).status);

  damaged = store_;
  PutU32(damaged, 8, 3);  // directory bytes left over after the last member
  Reseal(damaged);
  EXPECT_EQ(Status::BadStore, OpenStore(damaged).status);

  damaged = store_;
  damaged[EntryAt(3) + 29] = 200;  // last name running past the directory
  Reseal(damaged);
  EXPECT_EQ(Status::BadStore, OpenStore(damaged).status);
}

TEST_F(StoreTest, ASizeClaimedTooSmallStopsAtThatSize) {
  Bytes damaged = store_;
  PutU32(damaged, EntryAt(0) + 12, 1000);
  Reseal(damaged);
  Bytes out;
  EXPECT_EQ(Status::CorruptMember, Extract(damaged, "CV32W.EXE", &out));
  EXPECT_LE(out.size(), 1000u);

  damaged = store_;
  PutU32(damaged, EntryAt(0) + 12, static_cast<uint32_t>(text_.size() + 1));
  Reseal(damaged);
  EXPECT_EQ(Status::CorruptMember, Extract(damaged, "CV32W.EXE", &out));
}

TEST_F(StoreTest, ReadAndWriteFailuresAreReported) {
  const Opened o = OpenStore(store_);
  payload::Member m;
  ASSERT_EQ(Status::Ok, payload::FindMember(o.header, o.directory, "CV32W.EXE", &m));
  Bytes in(512), outbuf(512);
  const payload::Buffers buffers{in.data(), 512, outbuf.data(), 512};

  payload::Unpacker unpacker;
  MemorySource failing(store_);
  failing.failReads = true;
  MemorySink sink;
  EXPECT_EQ(Status::ReadFailed, unpacker.Extract(failing, m, sink, buffers));

  MemorySource source(store_);
  MemorySink full;
  full.capacity = 10000;  // a disk that fills up part way
  EXPECT_EQ(Status::WriteFailed, unpacker.Extract(source, m, full, buffers));
  ASSERT_EQ(Status::Ok, payload::FindMember(o.header, o.directory, "noise.bin", &m));
  MemorySink full2;
  full2.capacity = 100;
  EXPECT_EQ(Status::WriteFailed, unpacker.Extract(source, m, full2, buffers));
}

TEST(StoreSize, AStoreReachingTwoGigabytesIsRefusedByReaderAndWriter) {
  // A one-member store whose header claims `claimed` bytes, its member's
  // data moved to end `pastEnd` bytes beyond them; only the 32 header bytes
  // and the directory are read.
  const Bytes noise = RandomBytes(15, 3);
  payload::StoreWriter writer(0);
  ASSERT_TRUE(writer.Add("a.bin", noise.data(), noise.size()));
  const Bytes small = writer.Finish();
  auto check = [&](uint32_t claimed, uint32_t pastEnd) {
    Bytes crafted = small;
    PutU32(crafted, 16, claimed);
    PutU32(crafted, payload::kHeaderSize, claimed - static_cast<uint32_t>(noise.size()) + pastEnd);
    Reseal(crafted);
    payload::Header header;
    Status status = payload::ParseHeader(crafted.data(), claimed, &header);
    if (status == Status::Ok) status = payload::CheckDirectory(header, crafted.data() + payload::kHeaderSize);
    return status;
  };
  EXPECT_EQ(Status::Ok, check(payload::kMaxStoreSize, 0));
  EXPECT_EQ(Status::BadStore, check(payload::kMaxStoreSize, 1));
  EXPECT_EQ(Status::BadStore, check(payload::kMaxStoreSize + 1, 0));

  // The writer refuses the member that would make the store 2^31 bytes
  // before copying it: the zero pages behind it are never backed by memory.
  const size_t twoGigabytes = size_t{1} << 31;
  void* zeros = mmap(nullptr, twoGigabytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(MAP_FAILED, zeros);
  payload::StoreWriter big(0);
  const std::string name = "big.bin";
  const size_t tooLarge = twoGigabytes - payload::kHeaderSize - payload::kEntryFixedSize - name.size();
  EXPECT_FALSE(big.Add(name, static_cast<const uint8_t*>(zeros), tooLarge));
  EXPECT_NE(std::string::npos, big.Error().find(name)) << big.Error();
  EXPECT_EQ(0u, big.MemberCount());
  munmap(zeros, twoGigabytes);
}

TEST(StoreWriter, RefusesUnsafeAndDuplicateNames) {
  payload::StoreWriter writer;
  const uint8_t byte = 1;
  EXPECT_TRUE(writer.Add("Unsetup.exe", &byte, 1));
  EXPECT_FALSE(writer.Add("UNSETUP.EXE", &byte, 1));
  EXPECT_FALSE(writer.Add("..", &byte, 1));
  EXPECT_FALSE(writer.Add("sub\\x.dll", &byte, 1));
  EXPECT_FALSE(writer.Add(std::string("a\0b", 3), &byte, 1));
  EXPECT_EQ(1u, writer.MemberCount());
}

TEST(StoreWriter, AnEmptyStoreIsValid) {
  const Bytes store = payload::StoreWriter().Finish();
  EXPECT_EQ(payload::kHeaderSize, store.size());
  Bytes out;
  EXPECT_EQ(Status::NotFound, Extract(store, "x", &out));
}

TEST(StoreWriter, LevelZeroStoresEverything) {
  const Bytes text = TextBytes(10000);
  payload::StoreWriter writer(0);
  ASSERT_TRUE(writer.Add("a.txt", text.data(), text.size()));
  const Bytes store = writer.Finish();
  EXPECT_GT(store.size(), text.size());
  Bytes out;
  ASSERT_EQ(Status::Ok, Extract(store, "A.TXT", &out));
  EXPECT_EQ(text, out);
}

TEST_F(StoreTest, AStoreOfAnotherVersionOrFormatIsRefusedAsSuch) {
  for (const auto& change : {std::pair<size_t, uint8_t>{4, 1}, {4, 3}, {24, 'Z'}, {27, 0}}) {
    Bytes other = store_;
    other[change.first] = change.second;
    Reseal(other);
    payload::Header header;
    EXPECT_EQ(Status::OtherFormat, payload::ParseHeader(other.data(), static_cast<uint32_t>(other.size()), &header))
        << change.first;
  }
}

// Small members share frames; they come back in any order, through one
// unpacker that goes on from where the last member ended or starts its frame
// again, and damage to a shared frame fails each of its members.
TEST(StoreFrames, MembersSharingFramesComeBackInAnyOrder) {
  payload::PackOptions options;
  options.level = 3;
  options.frameSize = 64 * 1024;
  options.threads = 3;
  payload::StoreWriter writer(options);
  std::vector<Bytes> contents;
  for (int i = 0; i < 12; ++i) {
    Bytes b = TextBytes(3000 + 7000 * i);
    if (i == 5) b = RandomBytes(20000, 5);
    if (i == 8) b.clear();
    contents.push_back(b);
    ASSERT_TRUE(writer.Add("m" + std::to_string(i), b.data(), b.size()));
  }
  const Bytes store = writer.Finish();
  const Opened o = OpenStore(store);
  ASSERT_EQ(Status::Ok, o.status);
  payload::DirectoryCursor cursor(o.header, o.directory);
  payload::Member first, m;
  ASSERT_TRUE(cursor.Next(&first));
  ASSERT_TRUE(cursor.Next(&m));
  EXPECT_EQ(first.offset, m.offset) << "the first two members share a frame";
  EXPECT_EQ(first.size, m.start);

  options.threads = 1;
  payload::StoreWriter alone(options);
  for (size_t i = 0; i < contents.size(); ++i) {
    ASSERT_TRUE(alone.Add("m" + std::to_string(i), contents[i].data(), contents[i].size()));
  }
  EXPECT_EQ(store, alone.Finish()) << "the same store on any number of threads";

  for (const std::vector<int>& order : {std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
                                        std::vector<int>{11, 3, 2, 0, 1, 7, 9, 8, 4, 6, 5, 10, 10, 2}}) {
    Reader reader(store, 1000, 333);
    for (int i : order) {
      Bytes out;
      EXPECT_EQ(Status::Ok, reader.Extract(("m" + std::to_string(i)).c_str(), &out)) << i;
      EXPECT_EQ(contents[i], out) << i;
    }
  }

  // Whole frames unpacked into memory a block at a time, as two processors
  // unpack them, hold every member at its place.
  for (payload::DirectoryCursor c(o.header, o.directory); c.Next(&m);) {
    if (m.method != payload::kMethodZstd) continue;
    Bytes room(256 * 1024);
    payload::FrameDecoder frame;
    ASSERT_EQ(Status::Ok, frame.Begin(store.data() + m.offset, m.packedSize, room.data(), room.size()));
    while (!frame.Whole()) ASSERT_EQ(Status::Ok, frame.Step());
    const int i = std::stoi(std::string(m.name + 1, m.nameLength - 1));
    EXPECT_EQ(contents[i], Bytes(room.begin() + m.start, room.begin() + m.start + m.size)) << i;
  }

  size_t inFrame = 0;
  for (payload::DirectoryCursor c(o.header, o.directory); c.Next(&m) && m.offset == first.offset;) ++inFrame;
  for (size_t at = first.offset; at < first.offset + first.packedSize; at += 41) {
    Bytes damaged = store;
    damaged[at] ^= 0x20;
    Reader reader(damaged);
    size_t failed = 0;
    for (size_t i = 0; i < inFrame; ++i) {
      Bytes out;
      if (reader.Extract(("m" + std::to_string(i)).c_str(), &out) != Status::Ok) {
        ++failed;
      } else {
        EXPECT_EQ(contents[i], out) << "byte " << at << " member " << i;
      }
    }
    EXPECT_GT(failed, 0u) << "byte " << at;
  }
}

}  // namespace
