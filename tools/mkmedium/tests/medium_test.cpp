// The medium builder's manifest: the list file, the bar split by size and
// the SETUP.INI text that setup reads.
#include "medium.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>

namespace {

int Sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

TEST(SplitShares, FollowsSizesAndSumsToExactlyOneHundred) {
  EXPECT_EQ((std::vector<int>{100}), medium::SplitShares({12345}));
  EXPECT_EQ((std::vector<int>{100}), medium::SplitShares({0}));
  EXPECT_EQ((std::vector<int>{40, 20, 10, 20, 10}), medium::SplitShares({400, 200, 100, 200, 100}));
  EXPECT_EQ((std::vector<int>{34, 33, 33}), medium::SplitShares({7, 7, 7}));
  EXPECT_EQ((std::vector<int>{34, 33, 33}), medium::SplitShares({0, 0, 0}));
  EXPECT_EQ((std::vector<int>{0, 100, 0}), medium::SplitShares({0, 5, 0}));
  // The two large files take the leftover points before the tiny one.
  EXPECT_EQ((std::vector<int>{50, 50, 0}), medium::SplitShares({1000000, 1000000, 1}));
  EXPECT_TRUE(medium::SplitShares({}).empty());
}

TEST(SplitShares, MoreFilesThanPoints) {
  const std::vector<int> shares = medium::SplitShares(std::vector<uint64_t>(150, 10));
  EXPECT_EQ(100, Sum(shares));
  EXPECT_EQ(1, shares[99]);
  EXPECT_EQ(0, shares[100]);
}

TEST(SplitShares, EveryShareIsItsQuotaRoundedAndLargerFilesGetNoLess) {
  std::mt19937_64 rng(42);
  for (int round = 0; round < 2000; ++round) {
    const size_t n = 1 + rng() % 40;
    std::vector<uint64_t> sizes(n);
    for (uint64_t& s : sizes) {
      // Mostly ordinary sizes, with zeros and huge files mixed in.
      const int kind = static_cast<int>(rng() % 10);
      s = kind == 0 ? 0 : kind == 1 ? (rng() % (1ull << 32)) : rng() % 100000;
    }
    const std::vector<int> shares = medium::SplitShares(sizes);
    ASSERT_EQ(100, Sum(shares));
    const uint64_t total = std::accumulate(sizes.begin(), sizes.end(), uint64_t{0});
    for (size_t i = 0; i < n; ++i) {
      const double quota = total == 0 ? 100.0 / n : 100.0 * sizes[i] / total;
      ASSERT_LT(std::fabs(shares[i] - quota), 1.0) << "entry " << i;
      for (size_t j = 0; j < n; ++j) {
        if (sizes[i] > sizes[j]) {
          ASSERT_GE(shares[i], shares[j]);
        }
      }
    }
  }
}

TEST(ManifestKey, ThreeDigitsThenMore) {
  EXPECT_EQ("SETUP001", medium::ManifestKey(1));
  EXPECT_EQ("SETUP999", medium::ManifestKey(999));
  EXPECT_EQ("SETUP1000", medium::ManifestKey(1000));
}

TEST(ParseList, ReadsValuesLinksQuotesAndComments) {
  const std::string list =
      "# the product\r\n"
      "CV32W.EXE\r\n"
      "\r\n"
      "  Unsetup.exe\tUnsetup.LNK\n"
      "%SSAMPLE.DLL\n"
      "%wSAMPLE.INI   NO\n"
      "\"Read Me.txt\" \"코르바네 읽기.lnk\"\n"
      "   # indented comment\n"
      "last.dat";
  std::vector<medium::Entry> entries;
  std::string error;
  ASSERT_TRUE(medium::ParseList(list, &entries, &error)) << error;
  ASSERT_EQ(6u, entries.size());
  EXPECT_EQ("CV32W.EXE", entries[0].value);
  EXPECT_EQ("NO", entries[0].link);
  EXPECT_EQ(2, entries[0].line);
  EXPECT_EQ("Unsetup.LNK", entries[1].link);
  EXPECT_EQ("%SSAMPLE.DLL", entries[2].value);
  EXPECT_EQ("NO", entries[3].link);
  EXPECT_EQ("Read Me.txt", entries[4].value);
  EXPECT_EQ("코르바네 읽기.lnk", entries[4].link);
  EXPECT_EQ("last.dat", entries[5].value);
  EXPECT_EQ(9, entries[5].line);
}

TEST(ParseList, RefusesWhatSetupCouldNotUse) {
  for (const char* bad : {"%XSAMPLE.DLL", "%", "%S", "..", "sub\\x.exe", "C:x", "Error", "a.exe b.lnk c",
                          "a.exe Unsetup", "a.exe Error", "%sA.DLL A.LNK", "\"a.exe", "a.exe \"b.lnk"}) {
    std::vector<medium::Entry> entries;
    std::string error;
    EXPECT_FALSE(medium::ParseList(std::string("ok.exe\n") + bad + "\n", &entries, &error)) << bad;
    EXPECT_EQ(0u, error.find("line 2: ")) << error;
  }
}

TEST(ParseList, RefusesNamesTheProfileFunctionsWouldReadBackOtherwise) {
  struct Case {
    const char* line;
    const char* name;  // as the message must name it
  };
  for (const Case& c : {Case{"a=b.exe", "a=b.exe"}, Case{"%S;a.dll", ";a.dll"}, Case{";a.exe", ";a.exe"},
                        Case{"[a].exe", "[a].exe"}, Case{"\" a.exe\"", " a.exe"}, Case{"\"a.exe \"", "a.exe "},
                        Case{"\"a.exe\t\"", "a.exe\t"}, Case{"a.exe\"", "a.exe\""}, Case{"\"a\rb.exe\"", "a\rb.exe"},
                        Case{"a\x01.exe", "a\x01.exe"}, Case{"ok.exe \"x=y.LNK\"", "x=y.LNK"},
                        Case{"ok.exe ;x.LNK", ";x.LNK"}, Case{"ok.exe \"x.LNK \"", "x.LNK "},
                        Case{"'a.exe'", "'a.exe'"}}) {
    std::vector<medium::Entry> entries;
    std::string error;
    EXPECT_FALSE(medium::ParseList(std::string("ok.exe\n") + c.line + "\n", &entries, &error)) << c.line;
    EXPECT_EQ(0u, error.find("line 2: ")) << error;
    EXPECT_NE(std::string::npos, error.find(std::string("\"") + c.name + "\"")) << error;
  }
  // Inside a name these read back as written.
  std::vector<medium::Entry> entries;
  std::string error;
  EXPECT_TRUE(medium::ParseList("a;b.exe\nb[1].exe c;d.LNK\n", &entries, &error)) << error;
}

TEST(ParseList, AnEmptyListIsAnEmptyManifest) {
  std::vector<medium::Entry> entries{{"x", "NO", 1}};
  std::string error;
  ASSERT_TRUE(medium::ParseList("# nothing\n\n", &entries, &error));
  EXPECT_TRUE(entries.empty());
}

TEST(FileNameOf, DropsOnlyAFolderPrefix) {
  EXPECT_EQ("SAMPLE.DLL", medium::FileNameOf("%SSAMPLE.DLL"));
  EXPECT_EQ("SAMPLE.INI", medium::FileNameOf("%wSAMPLE.INI"));
  EXPECT_EQ("CV32W.EXE", medium::FileNameOf("CV32W.EXE"));
}

TEST(ManifestText, WritesEveryKeyOfEverySection) {
  const std::vector<medium::Entry> entries = {
      {"CV32W.EXE", "NO", 1}, {"Unsetup.exe", "Unsetup.LNK", 2}, {"%SSAMPLE.DLL", "NO", 3}};
  EXPECT_EQ(
      "[SetupFiles]\r\n"
      "SETUP001=CV32W.EXE\r\n"
      "SETUP002=Unsetup.exe\r\n"
      "SETUP003=%SSAMPLE.DLL\r\n"
      "\r\n"
      "[SetupPersent]\r\n"
      "SETUP001=60\r\n"
      "SETUP002=30\r\n"
      "SETUP003=10\r\n"
      "\r\n"
      "[SetupLink]\r\n"
      "SETUP001=NO\r\n"
      "SETUP002=Unsetup.LNK\r\n"
      "SETUP003=NO\r\n"
      "\r\n",
      medium::ManifestText(entries, {60, 30, 10}));
}

}  // namespace
