// The test infections: what a scan makes of each, in which order nested
// ones are offered, and that a repair gives back the original byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/engine_api.h"
#include "engine/formats.h"
#include "engine/samples.h"
#include "engine/scanner.h"
#include "engine/signatures.h"

namespace {

std::string Random(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string SavedHead(const Finding& finding) {
  return std::string(reinterpret_cast<const char*>(finding.plan.head), finding.plan.headSize);
}

class Infections : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(signatures_.Build()); }

  Finding Scan(const std::string& file, size_t piece = 65536) {
    MemoryReader reader(file);
    std::vector<unsigned char> buffer(piece);
    Finding finding;
    EXPECT_TRUE(ScanStream(signatures_, reader, buffer.data(), buffer.size(), &finding));
    return finding;
  }

  // The repaired file, or "<failed>".
  std::string Repair(const std::string& file, const Finding& finding, size_t piece = 4096) {
    MemoryReader reader(file);
    StringWriter writer;
    std::vector<unsigned char> buffer(piece);
    if (!WriteRepaired(finding.plan, reader, writer, buffer.data(), buffer.size())) return "<failed>";
    EXPECT_EQ(writer.bytes.size(), finding.plan.Size());
    return writer.bytes;
  }

  void ExpectFinding(const std::string& file, const char* name, short report, Treatment treatment) {
    Finding finding = Scan(file);
    ASSERT_TRUE(finding.Found()) << "expected " << name;
    EXPECT_STREQ(finding.name, name);
    EXPECT_EQ(finding.report, report);
    EXPECT_EQ(finding.treatment, treatment);
    EXPECT_EQ(finding.fileSize, file.size());
  }

  SignatureSet signatures_;
};

}  // namespace

TEST_F(Infections, CleanFilesHoldNothing) {
  for (size_t size : {0, 1, 16, 64, 95, 96, 97, 128, 129, 70000}) {
    Finding finding = Scan(Random(size, static_cast<unsigned>(size)));
    EXPECT_FALSE(finding.Found()) << size;
    EXPECT_EQ(finding.fileSize, size);
  }
}

TEST_F(Infections, EicarOnlyAsTheWholeTestFile) {
  std::string eicar = MakeEicarFile();
  ASSERT_EQ(eicar.size(), 68u);
  EXPECT_EQ(Crc32(0, eicar.data(), eicar.size()), 0x6851CF3Cu);  // the published test string
  ExpectFinding(eicar, "EICAR-Test-File", CV_REPORT_DELETE_ONLY, Treatment::Delete);
  ExpectFinding(MakeEicarFile("\r\n"), "EICAR-Test-File", CV_REPORT_DELETE_ONLY, Treatment::Delete);
  ExpectFinding(MakeEicarFile(std::string(60, ' ')), "EICAR-Test-File", CV_REPORT_DELETE_ONLY, Treatment::Delete);
  // 129 bytes, something after it, or not at the start: not the test file.
  EXPECT_FALSE(Scan(MakeEicarFile(std::string(61, ' '))).Found());
  EXPECT_FALSE(Scan(MakeEicarFile("\r\nx")).Found());
  EXPECT_FALSE(Scan(" " + eicar).Found());
  EXPECT_FALSE(Scan(eicar.substr(0, 67)).Found());
}

TEST_F(Infections, EachFamilyItsReportAndTreatment) {
  std::string original = Random(5000, 1);
  ExpectFinding(InfectCloak(original), "CvTest.Cloak", CV_REPORT_REPAIRABLE, Treatment::Repair);
  ExpectFinding(InfectMender(original), "CvTest.Mender", CV_REPORT_REPAIRABLE, Treatment::Repair);
  ExpectFinding(InfectSmear(original), "CvTest.Smear", CV_REPORT_DELETE_ONLY, Treatment::Delete);
  ExpectFinding(InfectMorph(original), "CvTest.Morph", CV_REPORT_UNTREATABLE, Treatment::Delete);
  ExpectFinding(InfectInert(original), "CvTest.Inert", CV_REPORT_IGNORE, Treatment::Nothing);
}

TEST_F(Infections, RepairGivesBackTheOriginal) {
  // Around the 32 bytes that Mender displaces, and across read pieces.
  for (size_t size : {0, 1, 31, 32, 33, 64, 4095, 4096, 4097, 200000}) {
    std::string original = Random(size, static_cast<unsigned>(size) + 7);
    for (const std::string& infected : {InfectCloak(original), InfectMender(original)}) {
      Finding finding = Scan(infected);
      ASSERT_EQ(finding.treatment, Treatment::Repair) << size;
      EXPECT_EQ(Repair(infected, finding), original) << finding.name << " of " << size;
      EXPECT_EQ(Repair(infected, finding, 1), original) << finding.name << " of " << size;
      EXPECT_FALSE(Scan(original).Found());
    }
  }
}

TEST_F(Infections, NestedInfectionsOfferedOuterFirst) {
  std::string original = Random(3000, 2);
  struct Case {
    std::string file;
    std::vector<const char*> offered;
  };
  std::vector<Case> cases = {
      {InfectMender(InfectCloak(original)), {"CvTest.Mender", "CvTest.Cloak"}},
      {InfectCloak(InfectMender(original)), {"CvTest.Cloak", "CvTest.Mender"}},
      {InfectMender(InfectMender(original)), {"CvTest.Mender", "CvTest.Mender"}},
      {InfectCloak(InfectCloak(InfectMender(original))), {"CvTest.Cloak", "CvTest.Cloak", "CvTest.Mender"}},
  };
  for (const Case& c : cases) {
    std::string file = c.file;
    for (const char* name : c.offered) {
      Finding finding = Scan(file);
      ASSERT_TRUE(finding.Found());
      EXPECT_STREQ(finding.name, name);
      file = Repair(file, finding);
    }
    EXPECT_EQ(file, original);
    EXPECT_FALSE(Scan(file).Found());
  }
  // A repairable layer over one that only deletion cures.
  std::string file = InfectCloak(InfectSmear(original));
  Finding outer = Scan(file);
  EXPECT_STREQ(outer.name, "CvTest.Cloak");
  EXPECT_STREQ(Scan(Repair(file, outer)).name, "CvTest.Smear");
}

TEST_F(Infections, FirstOfTheAnywhereFamiliesWins) {
  std::string original = Random(3000, 3);
  EXPECT_STREQ(Scan(InfectInert(InfectSmear(original))).name, "CvTest.Smear");
  EXPECT_STREQ(Scan(InfectMorph(InfectInert(original))).name, "CvTest.Morph");
  EXPECT_STREQ(Scan(InfectInert(original) + InfectMorph(original)).name, "CvTest.Inert");
}

TEST_F(Infections, PieceSizeDoesNotChangeTheFinding) {
  std::string original = Random(1000, 4);
  for (const std::string& file : {InfectMender(original), InfectMorph(original), MakeEicarFile("\n")}) {
    Finding whole = Scan(file);
    for (size_t piece : {1, 3, 16, 63, 64, 65, 127}) {
      Finding pieces = Scan(file, piece);
      EXPECT_STREQ(pieces.name, whole.name) << piece;
      EXPECT_EQ(SavedHead(pieces), SavedHead(whole)) << piece;
      EXPECT_EQ(pieces.plan.crc, whole.plan.crc) << piece;
    }
  }
}

TEST_F(Infections, DamagedLayersAreUntreatable) {
  std::string original = Random(2000, 5);
  std::string cloak = InfectCloak(original);
  std::string mender = InfectMender(original);
  for (const std::string& damaged : {cloak.substr(0, cloak.size() - 1), cloak + "x", cloak.substr(0, 40),
                                     mender.substr(0, mender.size() - 1), mender + "x", mender.substr(0, 40)}) {
    Finding finding = Scan(damaged);
    ASSERT_TRUE(finding.Found());
    EXPECT_EQ(finding.report, CV_REPORT_UNTREATABLE);
    EXPECT_EQ(finding.treatment, Treatment::Delete);
  }
}

TEST_F(Infections, RepairRefusesAChangedBody) {
  std::string original = Random(10000, 6);
  for (std::string infected : {InfectCloak(original), InfectMender(original)}) {
    Finding finding = Scan(infected);
    infected[infected.size() / 2] ^= 1;  // inside the kept part of the original
    EXPECT_EQ(Repair(infected, finding), "<failed>") << finding.name;
    // A file cut after the probe.
    EXPECT_EQ(Repair(infected.substr(0, 5000), finding), "<failed>") << finding.name;
  }
}

TEST_F(Infections, RepairStopsAtAFailedWrite) {
  class FullDisk final : public ByteWriter {
   public:
    bool Write(const void*, size_t size) override {
      written += size;
      return written <= 1000;
    }
    size_t written = 0;
  };
  std::string infected = InfectCloak(Random(100000, 7));
  Finding finding = Scan(infected);
  MemoryReader reader(infected);
  FullDisk disk;
  std::vector<unsigned char> buffer(512);
  EXPECT_FALSE(WriteRepaired(finding.plan, reader, disk, buffer.data(), buffer.size()));
  EXPECT_LT(disk.written, 2000u);
}

TEST_F(Infections, SignaturesAreNotInTheProgram) {
  // The patterns live masked in the object code; this test program holds the
  // engine's code, so no pattern may appear in its own file.
  FILE* self = std::fopen("/proc/self/exe", "rb");
  ASSERT_NE(self, nullptr);
  std::string image;
  char chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, self)) > 0;) image.append(chunk, n);
  std::fclose(self);
  ASSERT_GT(image.size(), 10000u);
  for (size_t sig = 0; sig < kSigCount; ++sig) {
    Pattern pattern = SignaturePattern(static_cast<Sig>(sig));
    EXPECT_EQ(pattern.size, sig == 0 ? 68u : kMarkerSize);
    EXPECT_EQ(image.find(std::string(reinterpret_cast<const char*>(pattern.bytes), pattern.size)), std::string::npos)
        << "pattern " << sig;
  }
  EXPECT_FALSE(Scan(image).Found());
}
