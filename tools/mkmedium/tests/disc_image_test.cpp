// The disc image: which names a disc refuses, and an image made by xorrisofs
// read back through its Joliet names, as Windows reads it.
#include "disc_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Names as the build machine spells them, in UTF-8 (string literals here
// are compiled into code page 949).
const std::string kKoreanName = "\xEC\x84\xA4\xEC\xB9\x98" " " "\xEC\x95\x88\xEB\x82\xB4" ".TXT";

void Write(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HaveImageTool() { return std::system("xorrisofs -version >/dev/null 2>&1") == 0; }

class DiscImage : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mkmedium-disc-test-" + std::to_string(getpid()));
    RemoveAll();
    fs::create_directories(root_ / "medium");
  }
  void TearDown() override { RemoveAll(); }
  // Extracted files are read-only.
  void RemoveAll() {
    std::error_code ec;
    if (!fs::exists(root_, ec)) return;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root_, ec)) {
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
  }

  fs::path root_;
  std::string error_;
};

TEST(DiscNames, WhatADiscAndAKoreanWindowsKeep) {
  const std::string kept[] = {"SETUP.EXE", "_SETUP.PAK", "MemChk.exe", kKoreanName, "a b.c.d", std::string(64, 'N')};
  for (const std::string& name : kept) EXPECT_EQ(medium::DiscNameProblem(name), "") << name;
  const std::string refused[] = {std::string(65, 'N'), std::string(33, 'N') + std::string(32, 'N') + "\xED\x95\x9C",
                                 "A;1",  "WHAT?.TXT", "C:X", "STAR*", "TAB\tX", "PIPE|X", "TRAIL.", "TRAIL ",
                                 "CON", "aux.txt", "\xE0\xB8\x81.TXT", "\xF0\x9F\x98\x80", std::string("\xC0\xAF.TXT")};
  for (const std::string& name : refused) EXPECT_NE(medium::DiscNameProblem(name), "") << name;
  // The volume label: 16 characters at most.
  for (const char* label : {medium::kDefaultLabel, "CORVANE_1_0_9X_K"}) EXPECT_EQ(medium::LabelProblem(label), "") << label;
  for (const char* label : {"", "CORVANE_1_0_9X_KO", "Corvane", "CORVANE 1", "\xEC\xBD\x94"}) {
    EXPECT_NE(medium::LabelProblem(label), "") << label;
  }
}

TEST_F(DiscImage, RefusalNamesTheFileAndTheReason) {
  Write(root_ / "medium" / "SETUP.INI", "a");
  Write(root_ / "medium" / "setup.ini", "b");
  EXPECT_FALSE(medium::CheckDiscNames(root_ / "medium", &error_));
  EXPECT_NE(error_.find("setup.ini"), std::string::npos) << error_;
  EXPECT_NE(error_.find("SETUP.INI"), std::string::npos) << error_;
  EXPECT_NE(error_.find("letter case"), std::string::npos) << error_;

  fs::remove(root_ / "medium" / "setup.ini");
  fs::create_directories(root_ / "medium" / "EXTRA");
  Write(root_ / "medium" / "EXTRA" / "README;1", "c");
  EXPECT_FALSE(medium::CheckDiscNames(root_ / "medium", &error_));
  EXPECT_NE(error_.find((fs::path("EXTRA") / "README;1").string() + ": "), std::string::npos) << error_;

  const fs::path iso = root_ / "disc.iso";
  Write(iso, "an older image");
  EXPECT_FALSE(medium::WriteDiscImage(root_ / "medium", iso, medium::kDefaultLabel, &error_));
  EXPECT_FALSE(fs::exists(iso)) << "a refused medium leaves no image";
}

TEST_F(DiscImage, ReadBackThroughJolietNames) {
  if (!HaveImageTool()) GTEST_SKIP() << "xorrisofs is not installed (scripts/setup-machine.sh installs it)";
  const fs::path medium = root_ / "medium";
  const std::string files[] = {"SETUP.EXE", "_SETUP.PAK", "MemChk.exe", kKoreanName, std::string(64, 'L')};
  for (const std::string& name : files) Write(medium / name, "contents of " + name);
  const fs::path iso = root_ / "disc.iso";
  ASSERT_TRUE(medium::WriteDiscImage(medium, iso, "CORVANE_10", &error_)) << error_;

  // The primary volume descriptor (sector 16) holds the label at byte 40.
  const std::string image = Read(iso);
  ASSERT_GT(image.size(), 16u * 2048 + 72);
  EXPECT_EQ(image.substr(16 * 2048 + 40, 32), "CORVANE_10" + std::string(22, ' '));

  const fs::path out = root_ / "out";
  const std::string extract = "xorriso -osirrox on -read_fs norock -indev '" + iso.string() + "' -extract / '" +
                              out.string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(extract.c_str()), 0);
  for (const std::string& name : files) EXPECT_EQ(Read(out / name), "contents of " + name) << name;
  EXPECT_EQ(Read(out / medium::kAutorunName), medium::AutorunText());
}

}  // namespace
