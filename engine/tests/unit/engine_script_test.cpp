// The answer script of the Corvane.dll double (tests/doubles/engine).
#include <gtest/gtest.h>

#include <string>

#include "tests/doubles/engine/engine_script.h"

using engine_script::Answer;
using engine_script::Script;

namespace {

bool Cp949Lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

Answer Next(Script& script, const std::string& path) { return engine_script::NextAnswer(script, path, Cp949Lead); }

}  // namespace

TEST(EngineScript, AnswersInTurnThenTheLastAgain) {
  Script script = engine_script::Parse(
      "# counting examples\r\n"
      "\r\n"
      "TWO.EXE: found name=A; found report=2 result=3 name=\"B; the second\"; clean\r\n"
      "AGAIN.EXE: found result=7 name=Again\r\n");
  ASSERT_TRUE(script.errors.empty()) << script.errors[0];
  Answer a = Next(script, "C:\\WINDOWS\\two.exe");
  EXPECT_TRUE(a.found);
  EXPECT_EQ(a.name, "A");
  EXPECT_EQ(a.report, 0);
  EXPECT_EQ(a.result, 1);
  EXPECT_FALSE(a.deletes);
  Answer b = Next(script, "C:\\WINDOWS\\TWO.EXE");
  EXPECT_EQ(b.name, "B; the second");
  EXPECT_EQ(b.report, 2);
  EXPECT_EQ(b.result, 3);
  EXPECT_FALSE(Next(script, "C:\\Two.Exe").found);
  EXPECT_FALSE(Next(script, "C:\\TWO.EXE").found);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Next(script, "C:\\AGAIN.EXE").result, 7);
  EXPECT_FALSE(Next(script, "C:\\OTHER.EXE").found);
}

TEST(EngineScript, NamedFileBeforeStarWhateverTheOrder) {
  Script script = engine_script::Parse("*: found report=3 name=Any\nKEEP.TXT: clean\n");
  EXPECT_FALSE(Next(script, "C:\\KEEP.TXT").found);
  Answer any = Next(script, "C:\\X.BIN");
  EXPECT_TRUE(any.found);
  EXPECT_EQ(any.report, 3);
  EXPECT_EQ(any.name, "Any");
}

TEST(EngineScript, FlagsAndDefaults) {
  Script script = engine_script::Parse("GONE.EXE: found report=1 result=2 delete name=Gone\nDEF.EXE: found\n");
  ASSERT_TRUE(script.errors.empty());
  Answer gone = Next(script, "GONE.EXE");
  EXPECT_TRUE(gone.deletes);
  EXPECT_EQ(gone.result, 2);
  Answer def = Next(script, "DEF.EXE");
  EXPECT_EQ(def.name, "Test.Virus");
  EXPECT_EQ(def.report, 0);
  EXPECT_EQ(def.result, 1);
}

TEST(EngineScript, ErrorsNameTheirLine) {
  Script script = engine_script::Parse(
      "A.EXE found\n"
      "B.EXE: found colour=red\n"
      "C.EXE: maybe\n"
      "D.EXE: found name=\"open\n"
      "E.EXE: clean now\n"
      "F.EXE: found result=x\n"
      "OK.EXE: found\n");
  ASSERT_EQ(script.errors.size(), 6u);
  EXPECT_EQ(script.errors[0].substr(0, 3), "1: ");
  EXPECT_EQ(script.errors[5].substr(0, 3), "6: ");
  ASSERT_EQ(script.entries.size(), 1u);
  EXPECT_EQ(script.entries[0].file, "OK.EXE");
}

TEST(EngineScript, DoubleByteNamesMatchExactly) {
  // 81 41 and 81 61 are two different Hangul syllables: the trail byte is no
  // letter to fold.  And 5C after a lead byte is no backslash.
  std::string korean = "\x81\x41.EXE";
  std::string other = "\x81\x61.EXE";
  Script script = engine_script::Parse(korean + ": found name=Ko\n");
  EXPECT_FALSE(Next(script, "C:\\" + other).found);
  EXPECT_TRUE(Next(script, "C:\\" + korean).found);
  EXPECT_EQ(engine_script::LastComponent("C:\\DIR\\\x81\x5C" "A.EXE", Cp949Lead), "\x81\x5C" "A.EXE");
  EXPECT_EQ(engine_script::LastComponent("NAME.EXE", Cp949Lead), "NAME.EXE");
}
