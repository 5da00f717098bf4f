// The medium builder end to end on the build machine: a product folder and
// a list in, a medium folder out whose manifest, store and programs are what
// setup and _SETUP.DLL will read.
#include "builder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "store_format.h"
#include "store_reader.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void Write(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

Bytes Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& path) {
  const Bytes b = Read(path);
  return std::string(b.begin(), b.end());
}

class MemorySource : public payload::Source {
 public:
  explicit MemorySource(const Bytes& bytes) : bytes_(bytes) {}
  bool Read(uint32_t offset, void* buffer, uint32_t length) override {
    if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
    std::memcpy(buffer, bytes_.data() + offset, length);
    return true;
  }

 private:
  const Bytes& bytes_;
};

class VectorSink : public payload::Sink {
 public:
  bool Write(const void* data, uint32_t length) override {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + length);
    return true;
  }
  Bytes bytes;
};

// The members of a store file, by name as stored, in order.
std::vector<std::pair<std::string, Bytes>> MembersOf(const fs::path& path) {
  std::vector<std::pair<std::string, Bytes>> out;
  const Bytes store = Read(path);
  payload::Header header;
  if (store.size() < payload::kHeaderSize ||
      payload::ParseHeader(store.data(), static_cast<uint32_t>(store.size()), &header) != payload::Status::Ok) {
    return out;
  }
  const uint8_t* directory = store.data() + payload::kHeaderSize;
  if (payload::CheckDirectory(header, directory) != payload::Status::Ok) return out;
  payload::DirectoryCursor cursor(header, directory);
  payload::Member m;
  Bytes in(4096), buffer(4096);
  payload::Unpacker unpacker;
  while (cursor.Next(&m)) {
    MemorySource source(store);
    VectorSink sink;
    const payload::Buffers buffers{in.data(), 4096, buffer.data(), 4096};
    EXPECT_EQ(payload::Status::Ok, unpacker.Extract(source, m, sink, buffers));
    out.emplace_back(std::string(m.name, m.nameLength), sink.bytes);
  }
  return out;
}

class Builder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mkmedium-test-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "product");
    fs::create_directories(root_ / "programs");
    o_.product = root_ / "product";
    o_.list = root_ / "list.txt";
    o_.programs = root_ / "programs";
    o_.out = root_ / "medium";
    Write(root_ / "product" / "cv32w.exe", std::string(6000, 'C'));  // listed as CV32W.EXE
    Write(root_ / "product" / "Schedule.EXE", std::string(3000, 'S'));
    Write(root_ / "product" / "Unsetup.exe", "unsetup");
    Write(root_ / "product" / "SAMPLE.DLL", std::string(1000, 'D'));
    for (const char* p : {"SETUP.EXE", "_setup.dll", "MemChk.exe", "_ISDEL.EXE", "Corvane.dll"}) {
      Write(root_ / "programs" / p, std::string("program ") + p);
    }
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
  medium::BuildOptions o_;
  medium::BuildSummary summary_;
  std::string error_;
};

TEST_F(Builder, WritesManifestStoreAndPrograms) {
  Write(o_.list,
        "# Corvane\n"
        "CV32W.EXE\n"
        "Schedule.EXE\n"
        "Unsetup.exe Unsetup.LNK\n"
        "%SSAMPLE.DLL\n"
        "%wsample.dll\n");
  ASSERT_TRUE(medium::BuildMedium(o_, &summary_, &error_)) << error_;
  EXPECT_EQ(5u, summary_.entries);
  EXPECT_EQ(4u, summary_.files);  // SAMPLE.DLL packed once for two entries
  EXPECT_EQ(10007u, summary_.fileBytes);
  EXPECT_TRUE(summary_.warnings.empty());

  // Sizes 6000, 3000, 7, 1000, 1000 of 11007 bytes.
  EXPECT_EQ(
      "[SetupFiles]\r\nSETUP001=CV32W.EXE\r\nSETUP002=Schedule.EXE\r\nSETUP003=Unsetup.exe\r\n"
      "SETUP004=%SSAMPLE.DLL\r\nSETUP005=%wsample.dll\r\n\r\n"
      "[SetupPersent]\r\nSETUP001=55\r\nSETUP002=27\r\nSETUP003=0\r\nSETUP004=9\r\nSETUP005=9\r\n\r\n"
      "[SetupLink]\r\nSETUP001=NO\r\nSETUP002=NO\r\nSETUP003=Unsetup.LNK\r\nSETUP004=NO\r\nSETUP005=NO\r\n\r\n",
      ReadText(o_.out / "SETUP.INI"));

  const auto members = MembersOf(o_.out / "_SETUP.PAK");
  ASSERT_EQ(4u, members.size());
  EXPECT_EQ("CV32W.EXE", members[0].first);
  EXPECT_EQ(Bytes(6000, 'C'), members[0].second);
  EXPECT_EQ("Unsetup.exe", members[2].first);
  EXPECT_EQ("SAMPLE.DLL", members[3].first);
  EXPECT_EQ(Bytes(1000, 'D'), members[3].second);

  for (const char* p : {"SETUP.EXE", "_SETUP.DLL", "MemChk.exe", "_ISDEL.EXE", "Corvane.dll"}) {
    EXPECT_TRUE(fs::is_regular_file(o_.out / p)) << p;
  }
  EXPECT_EQ("program _setup.dll", ReadText(o_.out / "_SETUP.DLL"));
}

TEST_F(Builder, AnEmptyListMakesAnEmptyManifest) {
  Write(o_.list, "");
  ASSERT_TRUE(medium::BuildMedium(o_, &summary_, &error_)) << error_;
  EXPECT_EQ("[SetupFiles]\r\n\r\n[SetupPersent]\r\n\r\n[SetupLink]\r\n\r\n", ReadText(o_.out / "SETUP.INI"));
  EXPECT_TRUE(MembersOf(o_.out / "_SETUP.PAK").empty());
  EXPECT_EQ(payload::kHeaderSize, fs::file_size(o_.out / "_SETUP.PAK"));
}

TEST_F(Builder, AMissingProductFileNamesItsLine) {
  Write(o_.list, "CV32W.EXE\nREADME.TXT\n");
  EXPECT_FALSE(medium::BuildMedium(o_, &summary_, &error_));
  EXPECT_NE(std::string::npos, error_.find("line 2")) << error_;
  EXPECT_NE(std::string::npos, error_.find("README.TXT")) << error_;
}

TEST_F(Builder, ABadListNamesFileAndLineAndWritesNothing) {
  Write(o_.list, "CV32W.EXE\n%QX.DLL\n");
  EXPECT_FALSE(medium::BuildMedium(o_, &summary_, &error_));
  EXPECT_NE(std::string::npos, error_.find("list.txt: line 2")) << error_;
  Write(root_ / "product" / "A=B.EXE", "a");
  Write(o_.list, "CV32W.EXE\nA=B.EXE\n");
  EXPECT_FALSE(medium::BuildMedium(o_, &summary_, &error_));
  EXPECT_NE(std::string::npos, error_.find("\"A=B.EXE\"")) << error_;
  EXPECT_FALSE(fs::exists(o_.out));
}

TEST_F(Builder, MissingProgramsAreAnErrorUnlessAllowed) {
  Write(o_.list, "CV32W.EXE\n");
  fs::remove(root_ / "programs" / "_ISDEL.EXE");
  fs::remove(root_ / "programs" / "Corvane.dll");
  EXPECT_FALSE(medium::BuildMedium(o_, &summary_, &error_));
  EXPECT_NE(std::string::npos, error_.find("_ISDEL.EXE")) << error_;

  o_.allowMissing = true;
  ASSERT_TRUE(medium::BuildMedium(o_, &summary_, &error_)) << error_;
  ASSERT_EQ(1u, summary_.warnings.size());  // the scan engine is optional anyway
  EXPECT_NE(std::string::npos, summary_.warnings[0].find("_ISDEL.EXE"));
  EXPECT_TRUE(fs::is_regular_file(o_.out / "SETUP.EXE"));
  EXPECT_FALSE(fs::exists(o_.out / "Corvane.dll"));
}

TEST_F(Builder, TwoProductFilesDifferingOnlyInCaseAreAmbiguous) {
  Write(root_ / "product" / "CV32W.exe", "other");
  Write(o_.list, "Cv32w.Exe\n");
  EXPECT_FALSE(medium::BuildMedium(o_, &summary_, &error_));
  EXPECT_NE(std::string::npos, error_.find("match")) << error_;
}

}  // namespace
