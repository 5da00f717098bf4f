// The payload store: what the writer packs, the reader gives back byte for
// byte, and every kind of damage is refused before a byte counts as good.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "store_format.h"
#include "store_reader.h"
#include "store_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using payload::Status;

class MemorySource : public payload::Source {
 public:
  explicit MemorySource(const Bytes& bytes) : bytes_(bytes) {}
  bool read(uint32_t offset, void* buffer, uint32_t length) override {
    if (fail_reads || offset > bytes_.size() || length > bytes_.size() - offset) return false;
    std::memcpy(buffer, bytes_.data() + offset, length);
    return true;
  }
  bool fail_reads = false;

 private:
  const Bytes& bytes_;
};

class MemorySink : public payload::Sink {
 public:
  bool write(const void* data, uint32_t length) override {
    if (bytes.size() + length > capacity) return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + length);
    return true;
  }
  Bytes bytes;
  size_t capacity = SIZE_MAX;
};

Bytes text_bytes(size_t size) {
  const std::string line = "Corvane scan engine signature table, entry ";
  Bytes out;
  for (size_t i = 0; out.size() < size; ++i) {
    const std::string s = line + std::to_string(i) + "\r\n";
    out.insert(out.end(), s.begin(), s.end());
  }
  out.resize(size);
  return out;
}

Bytes random_bytes(size_t size, unsigned seed) {
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

Opened open_store(const Bytes& store) {
  Opened o{Status::bad_store, {}, nullptr};
  if (store.size() < payload::kHeaderSize) return o;
  o.status = payload::parse_header(store.data(), static_cast<uint32_t>(store.size()), &o.header);
  if (o.status != Status::ok) return o;
  o.directory = store.data() + payload::kHeaderSize;
  o.status = payload::check_directory(o.header, o.directory);
  return o;
}

// Looks name up and unpacks it with the given buffer sizes.
Status extract(const Bytes& store, const char* name, Bytes* out, uint32_t in_size = 4096,
               uint32_t out_size = 4096) {
  const Opened o = open_store(store);
  if (o.status != Status::ok) return o.status;
  payload::Member m;
  const Status found = payload::find_member(o.header, o.directory, name, &m);
  if (found != Status::ok) return found;
  Bytes in(in_size), outbuf(out_size);
  const payload::Buffers buffers{in.data(), in_size, outbuf.data(), out_size};
  MemorySource source(store);
  MemorySink sink;
  const Status status = payload::extract_member(source, m, sink, buffers);
  *out = sink.bytes;
  return status;
}

// Writes the checksums anew after a test changed the directory, so that only
// the structural checks stand between the change and the reader.
void reseal(Bytes& store) {
  const uint32_t dir_size = payload::read_u32(store.data() + 12);
  const uint32_t dir_crc = static_cast<uint32_t>(crc32(0, store.data() + payload::kHeaderSize, dir_size));
  for (int i = 0; i < 4; ++i) store[20 + i] = static_cast<uint8_t>(dir_crc >> (8 * i));
  const uint32_t head_crc = static_cast<uint32_t>(crc32(0, store.data(), 28));
  for (int i = 0; i < 4; ++i) store[28 + i] = static_cast<uint8_t>(head_crc >> (8 * i));
}

void put_u32(Bytes& store, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) store[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text = text_bytes(200000);
    noise = random_bytes(5000, 7);
    payload::StoreWriter writer;
    ASSERT_TRUE(writer.add("CV32W.EXE", text.data(), text.size(), 0x01C0FFEE12345678ull));
    ASSERT_TRUE(writer.add("noise.bin", noise.data(), noise.size()));
    ASSERT_TRUE(writer.add("empty.txt", nullptr, 0));
    ASSERT_TRUE(writer.add("예약검사.dat", text.data(), 1000));
    store = writer.finish();
  }

  // Directory entry i's offset in the store.
  size_t entry_at(int index) const {
    size_t at = payload::kHeaderSize;
    for (int i = 0; i < index; ++i) at += payload::kEntryFixedSize + store[at + 25];
    return at;
  }

  Bytes text, noise, store;
};

TEST_F(StoreTest, MembersComeBackByteExactInAnyLetterCase) {
  Bytes out;
  ASSERT_EQ(Status::ok, extract(store, "cv32w.exe", &out));
  EXPECT_EQ(text, out);
  ASSERT_EQ(Status::ok, extract(store, "NOISE.BIN", &out));
  EXPECT_EQ(noise, out);
  ASSERT_EQ(Status::ok, extract(store, "Empty.TXT", &out));
  EXPECT_TRUE(out.empty());
  ASSERT_EQ(Status::ok, extract(store, "예약검사.DAT", &out));
  EXPECT_EQ(Bytes(text.begin(), text.begin() + 1000), out);
  EXPECT_EQ(Status::not_found, extract(store, "CV32W.EX", &out));
}

TEST_F(StoreTest, TinyBuffersGiveTheSameBytes) {
  Bytes out;
  ASSERT_EQ(Status::ok, extract(store, "CV32W.EXE", &out, 1, 1));
  EXPECT_EQ(text, out);
  ASSERT_EQ(Status::ok, extract(store, "noise.bin", &out, 3, 7));
  EXPECT_EQ(noise, out);
}

TEST_F(StoreTest, PacksWhatShrinksAndStoresWhatDoesNot) {
  const Opened o = open_store(store);
  ASSERT_EQ(Status::ok, o.status);
  payload::DirectoryCursor cursor(o.header, o.directory);
  payload::Member m;
  ASSERT_TRUE(cursor.next(&m));
  EXPECT_EQ(payload::kMethodDeflate, m.method);
  EXPECT_LT(m.packed_size, text.size() / 10);
  EXPECT_EQ(0x01C0FFEE12345678ull, m.write_time);
  ASSERT_TRUE(cursor.next(&m));
  EXPECT_EQ(payload::kMethodStored, m.method);
  EXPECT_EQ(noise.size(), m.packed_size);
  ASSERT_TRUE(cursor.next(&m));
  EXPECT_EQ(0u, m.size);
  ASSERT_TRUE(cursor.next(&m));
  EXPECT_FALSE(cursor.next(&m));
  EXPECT_EQ(store.size(), o.header.store_size);
}

TEST_F(StoreTest, EveryDamagedByteOfAMemberIsCaught) {
  for (const char* name : {"예약검사.dat", "noise.bin"}) {
    const Opened o = open_store(store);
    payload::Member m;
    ASSERT_EQ(Status::ok, payload::find_member(o.header, o.directory, name, &m));
    for (uint32_t i = 0; i < m.packed_size; ++i) {
      Bytes damaged = store;
      damaged[m.offset + i] ^= 0xFF;
      Bytes out;
      EXPECT_EQ(Status::corrupt_member, extract(damaged, name, &out)) << name << " byte " << i;
      EXPECT_LE(out.size(), m.size);
    }
  }
}

TEST_F(StoreTest, EveryDamagedByteOfHeaderOrDirectoryRefusesTheStore) {
  const size_t end = payload::kHeaderSize + payload::read_u32(store.data() + 12);
  for (size_t i = 0; i < end; ++i) {
    Bytes damaged = store;
    damaged[i] ^= 0x01;
    Bytes out;
    EXPECT_EQ(Status::bad_store, extract(damaged, "empty.txt", &out)) << "byte " << i;
  }
}

TEST_F(StoreTest, ATruncatedOrExtendedStoreIsRefusedForEveryMember) {
  for (size_t length : {size_t(0), size_t(31), size_t(32), size_t(100), store.size() - 1}) {
    const Bytes cut(store.begin(), store.begin() + length);
    Bytes out;
    EXPECT_EQ(Status::bad_store, extract(cut, "empty.txt", &out)) << length;
  }
  Bytes longer = store;
  longer.push_back(0);
  Bytes out;
  EXPECT_EQ(Status::bad_store, extract(longer, "empty.txt", &out));
}

TEST_F(StoreTest, DirectoryEntriesPointingOutsideTheStoreAreRefused) {
  struct Change {
    const char* what;
    size_t field;
    uint32_t value;
  };
  const uint32_t size = static_cast<uint32_t>(store.size());
  for (const Change& c : {Change{"offset past end", 0, size + 1}, Change{"offset into header", 0, 4},
                          Change{"packed past end", 4, size}, Change{"packed size near 4 GB", 4, 0xFFFFFFF0u}}) {
    Bytes damaged = store;
    put_u32(damaged, entry_at(1) + c.field, c.value);
    reseal(damaged);
    EXPECT_EQ(Status::bad_store, open_store(damaged).status) << c.what;
  }
}

TEST_F(StoreTest, MalformedDirectoriesAreRefused) {
  Bytes damaged = store;
  damaged[entry_at(2) + 24] = 7;  // unknown method
  reseal(damaged);
  EXPECT_EQ(Status::bad_store, open_store(damaged).status);

  damaged = store;
  put_u32(damaged, entry_at(1) + 8, 4999);  // stored member whose sizes disagree
  reseal(damaged);
  EXPECT_EQ(Status::bad_store, open_store(damaged).status);

  damaged = store;
  put_u32(damaged, 8, 5);  // one member more than the directory holds
  reseal(damaged);
  EXPECT_EQ(Status::bad_store, open_store(damaged).status);

  damaged = store;
  put_u32(damaged, 8, 3);  // directory bytes left over after the last member
  reseal(damaged);
  EXPECT_EQ(Status::bad_store, open_store(damaged).status);

  damaged = store;
  damaged[entry_at(3) + 25] = 200;  // last name running past the directory
  reseal(damaged);
  EXPECT_EQ(Status::bad_store, open_store(damaged).status);
}

TEST_F(StoreTest, ASizeClaimedTooSmallStopsAtThatSize) {
  Bytes damaged = store;
  put_u32(damaged, entry_at(0) + 8, 1000);
  reseal(damaged);
  Bytes out;
  EXPECT_EQ(Status::corrupt_member, extract(damaged, "CV32W.EXE", &out));
  EXPECT_LE(out.size(), 1000u);

  damaged = store;
  put_u32(damaged, entry_at(0) + 8, static_cast<uint32_t>(text.size() + 1));
  reseal(damaged);
  EXPECT_EQ(Status::corrupt_member, extract(damaged, "CV32W.EXE", &out));
}

TEST_F(StoreTest, ReadAndWriteFailuresAreReported) {
  const Opened o = open_store(store);
  payload::Member m;
  ASSERT_EQ(Status::ok, payload::find_member(o.header, o.directory, "CV32W.EXE", &m));
  Bytes in(512), outbuf(512);
  const payload::Buffers buffers{in.data(), 512, outbuf.data(), 512};

  MemorySource failing(store);
  failing.fail_reads = true;
  MemorySink sink;
  EXPECT_EQ(Status::read_failed, payload::extract_member(failing, m, sink, buffers));

  MemorySource source(store);
  MemorySink full;
  full.capacity = 10000;  // a disk that fills up part way
  EXPECT_EQ(Status::write_failed, payload::extract_member(source, m, full, buffers));
  ASSERT_EQ(Status::ok, payload::find_member(o.header, o.directory, "noise.bin", &m));
  MemorySink full2;
  full2.capacity = 100;
  EXPECT_EQ(Status::write_failed, payload::extract_member(source, m, full2, buffers));
}

TEST(StoreSize, AStoreReachingTwoGigabytesIsRefusedByReaderAndWriter) {
  // A one-member store whose header claims `claimed` bytes, its member's
  // data moved to end `past_end` bytes beyond them; only the 32 header bytes
  // and the directory are read.
  const Bytes noise = random_bytes(15, 3);
  payload::StoreWriter writer(0);
  ASSERT_TRUE(writer.add("a.bin", noise.data(), noise.size()));
  const Bytes small = writer.finish();
  auto check = [&](uint32_t claimed, uint32_t past_end) {
    Bytes crafted = small;
    put_u32(crafted, 16, claimed);
    put_u32(crafted, payload::kHeaderSize, claimed - static_cast<uint32_t>(noise.size()) + past_end);
    reseal(crafted);
    payload::Header header;
    Status status = payload::parse_header(crafted.data(), claimed, &header);
    if (status == Status::ok) status = payload::check_directory(header, crafted.data() + payload::kHeaderSize);
    return status;
  };
  EXPECT_EQ(Status::ok, check(payload::kMaxStoreSize, 0));
  EXPECT_EQ(Status::bad_store, check(payload::kMaxStoreSize, 1));
  EXPECT_EQ(Status::bad_store, check(payload::kMaxStoreSize + 1, 0));

  // The writer refuses the member that would make the store 2^31 bytes
  // before copying it: the zero pages behind it are never backed by memory.
  const size_t two_gigabytes = size_t{1} << 31;
  void* zeros = mmap(nullptr, two_gigabytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  ASSERT_NE(MAP_FAILED, zeros);
  payload::StoreWriter big(0);
  const std::string name = "big.bin";
  const size_t too_large = two_gigabytes - payload::kHeaderSize - payload::kEntryFixedSize - name.size();
  EXPECT_FALSE(big.add(name, static_cast<const uint8_t*>(zeros), too_large));
  EXPECT_NE(std::string::npos, big.error().find(name)) << big.error();
  EXPECT_EQ(0u, big.member_count());
  munmap(zeros, two_gigabytes);
}

TEST(StoreWriter, RefusesUnsafeAndDuplicateNames) {
  payload::StoreWriter writer;
  const uint8_t byte = 1;
  EXPECT_TRUE(writer.add("Unsetup.exe", &byte, 1));
  EXPECT_FALSE(writer.add("UNSETUP.EXE", &byte, 1));
  EXPECT_FALSE(writer.add("..", &byte, 1));
  EXPECT_FALSE(writer.add("sub\\x.dll", &byte, 1));
  EXPECT_FALSE(writer.add(std::string("a\0b", 3), &byte, 1));
  EXPECT_EQ(1u, writer.member_count());
}

TEST(StoreWriter, AnEmptyStoreIsValid) {
  const Bytes store = payload::StoreWriter().finish();
  EXPECT_EQ(payload::kHeaderSize, store.size());
  Bytes out;
  EXPECT_EQ(Status::not_found, extract(store, "x", &out));
}

TEST(StoreWriter, LevelZeroStoresEverything) {
  const Bytes text = text_bytes(10000);
  payload::StoreWriter writer(0);
  ASSERT_TRUE(writer.add("a.txt", text.data(), text.size()));
  const Bytes store = writer.finish();
  EXPECT_GT(store.size(), text.size());
  Bytes out;
  ASSERT_EQ(Status::ok, extract(store, "A.TXT", &out));
  EXPECT_EQ(text, out);
}

}  // namespace
