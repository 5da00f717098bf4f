// SETUP.EXE's switches for unattended installs.
#include <gtest/gtest.h>

#include <string>

#include "install/result_codes.h"
#include "shell/switches.h"

TEST(Switches, EveryValueInAnyCaseAndOrder) {
  SetupSwitches s = ParseSwitches(
      "/company=\"(주)코르바네 지사\" /s /Scan=delete /TASKS=0a "
      "/NAME=\xC8\xAB\xB1\xE6\xB5\xBF /log=\"C:\\My Logs\\cv.log\" /D=C:\\Program Files\\코르바네 새 폴더  ");
  EXPECT_EQ(s.error, "");
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.company, "(주)코르바네 지사");
  EXPECT_EQ(s.name, "\xC8\xAB\xB1\xE6\xB5\xBF");
  EXPECT_EQ(s.scan, ScanMode::Delete);
  EXPECT_TRUE(s.tasksGiven);
  EXPECT_EQ(s.tasks, 0x0A);
  EXPECT_EQ(s.log, "C:\\My Logs\\cv.log");
  EXPECT_TRUE(s.folderGiven);
  EXPECT_EQ(s.folder, "C:\\Program Files\\코르바네 새 폴더");
}

TEST(Switches, DefaultsWhenOnlySilent) {
  SetupSwitches s = ParseSwitches("/S");
  EXPECT_EQ(s.error, "");
  EXPECT_FALSE(s.folderGiven || s.nameGiven || s.companyGiven || s.tasksGiven || s.help);
  EXPECT_EQ(s.scan, ScanMode::Repair);
  EXPECT_FALSE(ParseSwitches("").silent);
  EXPECT_TRUE(ParseSwitches("/?").help);
}

TEST(Switches, WhatIsNotUnderstoodIsAnError) {
  for (const char* line : {"/S /X", "/S /SCAN=ALL", "/S /TASKS=1", "/S /TASKS=20",
                           "/S /TASKS=zz", "/S /D=Corvane", "/S /LOG=", "/S extra"}) {
    EXPECT_NE(ParseSwitches(line).error, "") << line;
  }
}

// Values past what setup's buffers hold are refused whole, never cut.
TEST(Switches, OverLongValuesAreRefused) {
  std::string name(kSwitchEntryMax, 'n');
  EXPECT_EQ(ParseSwitches(("/S /NAME=" + name).c_str()).error, "");
  EXPECT_NE(ParseSwitches(("/S /NAME=" + name + "n").c_str()).error, "");
  std::string folder = "C:\\" + std::string(kSwitchFolderMax - 3, 'f');
  EXPECT_EQ(ParseSwitches(("/S /D=" + folder).c_str()).error, "");
  EXPECT_NE(ParseSwitches(("/S /D=" + folder + "f").c_str()).error, "");
  EXPECT_NE(ParseSwitches(("/S /LOG=" + std::string(5000, 'l')).c_str()).error, "");
}

// The /? box lists every code a run can end with, and nothing else.
TEST(Switches, HelpListsTheResultCodes) {
  std::string help = SwitchesHelpText().c_str();
  std::string codes = help.substr(help.find("끝 코드: "));
  for (const ResultCode& r : kResultCodes) EXPECT_NE(codes.find(std::to_string(r.code) + " " + r.meaning), std::string::npos) << r.code;
  EXPECT_EQ(codes.find("1602"), std::string::npos);
}
