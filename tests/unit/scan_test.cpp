// The scan's field text, questions and counters.
#include <gtest/gtest.h>

#include <string>

#include "scan/scan_text.h"

TEST(CurrentFile, PaddedTo74CutAfter79) {
  Text sixty(60, 'p');
  EXPECT_EQ(CurrentFileText(sixty), sixty + Text(14, ' '));
  Text hundred(100, 'q');
  EXPECT_EQ(CurrentFileText(hundred), Text(79, 'q'));
  EXPECT_EQ(CurrentFileText(Text(76, 'r')).size(), 76u);
}

TEST(Questions, WholePathAndNameByReportCode) {
  Text path = "C:\\" + Text(2000, 'x') + ".EXE";
  Text name(1500, 'v');
  Text q = VirusQuestion(0, path, name);
  EXPECT_EQ(q, path + "\n\n" + name + " 바이러스는 복구 가능한 바이러스입니다. 안전하게 복구할까요?");
  EXPECT_NE(VirusQuestion(1, "p", "n").find("복구 불가능한"), Text::npos);
  EXPECT_NE(VirusQuestion(2, "p", "n").find("현 버전에서는"), Text::npos);
  EXPECT_EQ(VirusQuestion(7, "p", "n"), VirusQuestion(2, "p", "n"));
  EXPECT_EQ(VirusQuestion(-1, "p", "n"), VirusQuestion(2, "p", "n"));
}

TEST(Counters, TextPlusOne) {
  EXPECT_EQ(NextCount("0"), "1");
  EXPECT_EQ(NextCount("41"), "42");
  EXPECT_EQ(NextCount(""), "1");
}
