// The recording double of Corvane.dll (tests/doubles/engine): every counting
// example of the folder scan can be scripted, and every call is logged.  The
// per-file loop below follows the scan's treatment of one file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_api.h"
#include "support/files.h"

namespace {

const char kDouble[] = CORVANE_DOUBLES_DIR "/engine/Corvane.dll";

struct Counts {
  int scanned = 0, infected = 0, repaired = 0, deleted = 0;
  std::vector<std::string> offered;  // "name/report" of each question
};

class EngineDouble : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = machine::TempFolder() + "engine_double_test\\";
    CreateDirectoryA(folder_.c_str(), NULL);
    log_ = folder_ + "engine.log";
    loadLog_ = folder_ + "load.log";
    script_ = folder_ + "script.txt";
    DeleteFileA(log_.c_str());
    DeleteFileA(loadLog_.c_str());
    SetEnvironmentVariableA("CORVANE_ENGINE_LOG", log_.c_str());
    SetEnvironmentVariableA("CORVANE_ENGINE_LOAD_LOG", loadLog_.c_str());
    SetEnvironmentVariableA("CORVANE_ENGINE_SCRIPT", script_.c_str());
    SetEnvironmentVariableA("CORVANE_ENGINE_DELAY_MS", NULL);
  }
  void TearDown() override { Unload(); }

  void Load(const std::string& script) {
    ASSERT_TRUE(machine::WriteFile(script_, script));
    library_ = LoadLibraryA(kDouble);
    ASSERT_TRUE(library_) << kDouble;
    Bind(&probe_, "dlProbeInto");
    Bind(&report_, "dlGetVirusReport");
    Bind(&name_, "dlGetVirusName");
    Bind(&recover_, "dlRecoverFile");
    Bind(&close_, "dlCloseProbe");
    Bind(&on_, "dlTurnOnCorvane");
    Bind(&off_, "dlTurnOffCorvane");
    ASSERT_TRUE(probe_ && report_ && name_ && recover_ && close_ && on_ && off_);
    on_();
  }
  void Unload() {
    if (!library_) return;
    off_();
    FreeLibrary(library_);
    library_ = NULL;
  }
  template <typename Proc>
  void Bind(Proc* entry, const char* name) {
    *entry = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
  }

  std::string File(const char* name) {
    std::string path = folder_ + name;
    machine::WriteFile(path, "contents");
    return path;
  }

  // One file as the scan treats it; `yes` answers the questions in turn,
  // the last answer repeating.
  Counts Treat(const std::string& path, std::vector<bool> yes = {true}) {
    Counts counts;
    for (size_t question = 0;; ++question) {
      ++counts.scanned;
      CvProbe probe = probe_(path.c_str());
      if (!probe) return counts;
      int report = report_(probe);
      if (report == CV_REPORT_IGNORE) return counts;
      std::string name = name_(probe);
      ++counts.infected;
      counts.offered.push_back(std::string(name_(probe)) + "/" + std::to_string(report));
      if (!yes[question < yes.size() ? question : yes.size() - 1]) {
        close_(probe);
        return counts;
      }
      switch (recover_(probe)) {
        case CV_TREAT_REPAIRED:
          ++counts.repaired;
          close_(probe);
          break;
        case CV_TREAT_DELETED:
          ++counts.deleted;
          close_(probe);
          return counts;
        case CV_TREAT_ENDED:
          close_(probe);
          return counts;
        default:
          break;
      }
    }
  }

  std::string folder_, log_, loadLog_, script_;
  HMODULE library_ = NULL;
  CvProbeIntoProc probe_ = NULL;
  CvGetVirusReportProc report_ = NULL;
  CvGetVirusNameProc name_ = NULL;
  CvRecoverFileProc recover_ = NULL;
  CvCloseProbeProc close_ = NULL;
  CvTurnOnProc on_ = NULL;
  CvTurnOffProc off_ = NULL;
};

void ExpectCounts(const Counts& counts, int scanned, int infected, int repaired, int deleted) {
  EXPECT_EQ(counts.scanned, scanned);
  EXPECT_EQ(counts.infected, infected);
  EXPECT_EQ(counts.repaired, repaired);
  EXPECT_EQ(counts.deleted, deleted);
}

}  // namespace

TEST_F(EngineDouble, EveryCountingExampleOfTheScan) {
  Load("# the folder scan's examples\r\n"
       "CLEAN.TXT: clean\r\n"
       "ONE.COM:   found name=Cvt.One; clean\r\n"
       "TWO.EXE:   found name=First; found name=Second; clean\r\n"
       "ASKED.EXE: found report=1 result=2 name=Asked\r\n"
       "LEFT.EXE:  found report=3 name=Left\r\n"
       "GONE.EXE:  found report=1 result=2 name=Gone delete\r\n"
       "ENDED.EXE: found report=2 result=3 name=Ended\r\n"
       "AGAIN.EXE: found result=7 name=Again\r\n");
  ExpectCounts(Treat(File("CLEAN.TXT")), 1, 0, 0, 0);
  Counts one = Treat(File("one.com"));
  ExpectCounts(one, 2, 1, 1, 0);
  EXPECT_EQ(one.offered, std::vector<std::string>{"Cvt.One/0"});
  Counts two = Treat(File("TWO.EXE"));
  ExpectCounts(two, 3, 2, 2, 0);
  EXPECT_EQ(two.offered, (std::vector<std::string>{"First/0", "Second/0"}));
  ExpectCounts(Treat(File("ASKED.EXE"), {false}), 1, 1, 0, 0);
  ExpectCounts(Treat(File("LEFT.EXE")), 1, 0, 0, 0);
  std::string gone = File("GONE.EXE");
  ExpectCounts(Treat(gone), 1, 1, 0, 1);
  EXPECT_FALSE(machine::Exists(gone));
  ExpectCounts(Treat(File("ENDED.EXE")), 1, 1, 0, 0);
  Counts again = Treat(File("AGAIN.EXE"), {true, true, false});
  ExpectCounts(again, 3, 3, 0, 0);
  EXPECT_EQ(again.offered, (std::vector<std::string>{"Again/0", "Again/0", "Again/0"}));

  std::vector<std::string> log = machine::Lines(log_);
  ASSERT_GE(log.size(), 9u);
  // The file repaired once: probed, asked about, repaired, closed, probed again.
  std::string onePath = folder_ + "one.com";
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 9),
            (std::vector<std::string>{"on", "probe " + folder_ + "CLEAN.TXT", "probe " + onePath, "report 1",
                                      "name 1", "name 1", "recover 1", "close 1", "probe " + onePath}));
  // Report 3 leaves its probe open; the untreated result 7 probes again
  // without closing.
  std::string left = "probe " + folder_ + "LEFT.EXE";
  size_t at = 0;
  while (at < log.size() && log[at] != left) ++at;
  ASSERT_LT(at + 2, log.size());
  EXPECT_EQ(log[at + 1], "report 5");
  EXPECT_EQ(log[at + 2], "probe " + folder_ + "GONE.EXE");
  std::string againPath = "probe " + folder_ + "AGAIN.EXE";
  std::vector<std::string> tail(log.end() - 15, log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{againPath, "report 8", "name 8", "name 8", "recover 8",
                                            againPath, "report 9", "name 9", "name 9", "recover 9",
                                            againPath, "report 10", "name 10", "name 10", "close 10"}));
}

TEST_F(EngineDouble, MisusedHandlesAndScriptErrorsAreLogged) {
  Load("ONE.COM: found name=One\r\nBAD.COM found\r\nODD.COM: found colour=red\r\n");
  CvProbe probe = probe_(File("ONE.COM").c_str());
  ASSERT_EQ(probe, 1u);
  close_(probe);
  EXPECT_EQ(report_(probe), CV_REPORT_IGNORE);
  EXPECT_STREQ(name_(77), "");
  EXPECT_EQ(recover_(probe), CV_TREAT_ENDED);
  std::vector<std::string> log = machine::Lines(log_);
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[0], "on");  // the script is read when the engine is switched on
  EXPECT_EQ(log[1].substr(0, 15), "script error 2:");
  EXPECT_EQ(log[2].substr(0, 15), "script error 3:");
  EXPECT_EQ(log[4], "close 1");
  EXPECT_EQ(log[5], "report 1 (closed)");
  EXPECT_EQ(log[6], "name 77 (unknown)");
  EXPECT_EQ(log[7], "recover 1 (closed)");
}

TEST_F(EngineDouble, EachLoadStartsAfreshWithoutAScriptEveryFileIsClean) {
  Load("ONE.COM: found; clean\r\n*: found report=3 name=Any\r\n");
  std::string one = File("ONE.COM");
  EXPECT_EQ(probe_(one.c_str()), 1u);
  EXPECT_EQ(probe_(one.c_str()), 0u);
  CvProbe any = probe_(File("X.BIN").c_str());
  EXPECT_EQ(any, 2u);
  EXPECT_STREQ(name_(any), "Any");
  Unload();
  Load("ONE.COM: found; clean\r\n");
  EXPECT_EQ(probe_(one.c_str()), 1u);
  Unload();
  SetEnvironmentVariableA("CORVANE_ENGINE_SCRIPT", NULL);
  Load("");
  EXPECT_EQ(probe_(one.c_str()), 0u);
  Unload();
  std::vector<std::string> loads = machine::Lines(loadLog_);
  ASSERT_EQ(loads.size(), 6u);
  EXPECT_EQ(loads[0].substr(0, 5), "load ");
  EXPECT_EQ(loads[1].substr(0, 5), "free ");
}

TEST_F(EngineDouble, ProbesCanBeSlowedDown) {
  SetEnvironmentVariableA("CORVANE_ENGINE_DELAY_MS", "200");
  Load("");
  DWORD start = GetTickCount();
  probe_(File("SLOW.EXE").c_str());
  EXPECT_GE(GetTickCount() - start, 150u);
}
