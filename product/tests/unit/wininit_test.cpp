// WININIT.INI edits: one NUL line more in [rename], every other line kept,
// several NUL lines side by side.
#include "product/logic/wininit.h"

#include <gtest/gtest.h>

namespace {

TEST(AddDeleteAtRestart, MakesTheFileAndTheSection) {
  EXPECT_EQ("[rename]\r\nNUL=C:\\WINDOWS\\TEMP\\~CVUN00.EXE\r\n",
            AddDeleteAtRestart("", "C:\\WINDOWS\\TEMP\\~CVUN00.EXE"));
  EXPECT_EQ("[other]\r\nA=1\r\n[rename]\r\nNUL=C:\\X\r\n", AddDeleteAtRestart("[other]\r\nA=1", "C:\\X"));
}

TEST(AddDeleteAtRestart, KeepsEarlierNulLinesThatProfileFunctionsWouldMerge) {
  std::string once = AddDeleteAtRestart("", "C:\\A");
  std::string twice = AddDeleteAtRestart(once, "C:\\B");
  EXPECT_EQ("[rename]\r\nNUL=C:\\A\r\nNUL=C:\\B\r\n", twice);
}

TEST(AddDeleteAtRestart, JoinsAnExistingSectionBeforeTheNextOneAndItsBlankLines) {
  std::string content = "[Rename]\r\nC:\\NEW.DLL=C:\\OLD.DLL\r\n\r\n[Other]\r\nNUL=C:\\NOT-HERE\r\n";
  EXPECT_EQ("[Rename]\r\nC:\\NEW.DLL=C:\\OLD.DLL\r\nNUL=C:\\X\r\n\r\n[Other]\r\nNUL=C:\\NOT-HERE\r\n",
            AddDeleteAtRestart(content, "C:\\X"));
}

TEST(AddDeleteAtRestart, AnEmptySectionAndUnixLineEnds) {
  EXPECT_EQ("[rename]\r\nNUL=C:\\X\r\n[b]\r\n", AddDeleteAtRestart("[rename]\r\n[b]\r\n", "C:\\X"));
  EXPECT_EQ("; note\n  [RENAME]  \nNUL=C:\\X\r\n", AddDeleteAtRestart("; note\n  [RENAME]  \n", "C:\\X"));
}

}  // namespace
