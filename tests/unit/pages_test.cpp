// The wizard's graph, the folder choice, the summary and the task bits.
#include <gtest/gtest.h>

#include <string>

#include "install/task_file.h"
#include "pages/flow_table.h"
#include "pages/folder_choice.h"
#include "pages/summary.h"
#include "pages/task_mask.h"
#include "install/user_temp_file.h"
#include "resources/ids.h"

namespace {

Text Folder(const char* chosen) {
  char folder[600] = "unchanged";
  MakeInstallFolder(chosen, folder, sizeof folder);
  return folder;
}

Text Display(const Text& folder) {
  char out[600];
  FolderDisplayText(folder.c_str(), out, sizeof out);
  return out;
}

Text TempFile(const char* temp) {
  char out[600] = "x";
  BuildTempFilePath(temp, out, sizeof out);
  return out;
}

}  // namespace

TEST(Flow, ButtonsLeadWhereTheWizardGoes) {
  EXPECT_EQ(NextPage(IDD_WELCOME, IDC_NEXT), IDD_AGREEMENT);
  EXPECT_EQ(NextPage(IDD_AGREEMENT, IDC_NEXT), IDD_USERINFO);
  EXPECT_EQ(NextPage(IDD_AGREEMENT, IDC_BACK), IDD_WELCOME);
  EXPECT_EQ(NextPage(IDD_USERINFO, IDC_NEXT), IDD_SCAN_CHOICE);
  EXPECT_EQ(NextPage(IDD_USERINFO, IDC_BACK), IDD_AGREEMENT);
  EXPECT_EQ(NextPage(IDD_SCAN, IDC_NEXT), IDD_FOLDER);
  EXPECT_EQ(NextPage(IDD_FOLDER, IDC_NEXT), IDD_CONFIRM);
  EXPECT_EQ(NextPage(IDD_FOLDER, IDC_BACK), IDD_SCAN_CHOICE);
  EXPECT_EQ(NextPage(IDD_CONFIRM, IDC_BACK), IDD_FOLDER);
  EXPECT_EQ(NextPage(IDD_TASKS, IDC_NEXT), IDD_FINISH);
}

TEST(Flow, PagesWithoutBackIgnoreIt) {
  for (int page : {IDD_WELCOME, IDD_SCAN_CHOICE, IDD_SCAN, IDD_TASKS, IDD_FINISH})
    EXPECT_EQ(NextPage(page, IDC_BACK), 0) << page;
  for (int page : {IDD_WELCOME, IDD_AGREEMENT, IDD_USERINFO, IDD_CONFIRM, IDD_FINISH})
    EXPECT_EQ(NextPage(page, IDC_BROWSE), 0) << page;
  EXPECT_EQ(NextPage(IDD_WELCOME, 3), 0);
  // Cancel never leads to a page: it asks first.
  EXPECT_EQ(NextPage(IDD_AGREEMENT, IDC_CANCEL), 0);
}

TEST(FolderChoice, AddsCorvaneWithOneBackslash) {
  EXPECT_EQ(Folder("D:\\"), "D:\\Corvane");
  EXPECT_EQ(Folder("D:\\Apps"), "D:\\Apps\\Corvane");
  EXPECT_EQ(Folder("D:\\Corvane"), "D:\\Corvane\\Corvane");
  EXPECT_EQ(Folder("D:\\Some Long Folder Name"), "D:\\Some Long Folder Name\\Corvane");
  char small[12] = "kept";
  EXPECT_FALSE(MakeInstallFolder("D:\\Apps", small, sizeof small));
  EXPECT_STREQ(small, "kept");
}

TEST(FolderChoice, DisplayCutsByBytesPastThirty) {
  EXPECT_EQ(Display("C:\\Program Files\\Corvane"), "C:\\Program Files\\Corvane");
  EXPECT_EQ(Display("D:\\Some Long Folder Name\\Corvane"), "D:\\...older Name\\Corvane");
  Text thirty = "C:\\" + Text(19, 'a') + "\\Corvane";
  ASSERT_EQ(thirty.size(), 30u);
  EXPECT_EQ(Display(thirty), thirty);
  Text thirtyOne = "C:\\" + Text(20, 'a') + "\\Corvane";
  EXPECT_EQ(Display(thirtyOne).size(), 24u);
  EXPECT_EQ(Display(thirtyOne), "C:\\...aaaaaaaaaa\\Corvane");
  // Korean names are cut inside a character all the same.
  Text korean = "D:\\";
  for (int i = 0; i < 10; ++i) korean += "\xB0\xA1";
  korean += "x\\Corvane";
  Text cut = "D:\\...\xA1";
  for (int i = 0; i < 4; ++i) cut += "\xB0\xA1";
  cut += "x\\Corvane";
  EXPECT_EQ(Display(korean), cut);
}

TEST(Summary, TenLinesExactly) {
  ComputerFacts f{"C:\\Program Files\\Corvane", "WINE-98", 4, 10, "C:\\windows",
                  "C:\\windows\\system"};
  const Text expected =
      " 설치 미리보기\r\n"
      "\r\n"
      "    1. 코르바네™ 설치 폴더\r\n"
      "       ＊C:\\Program Files\\Corvane\r\n"
      "\r\n"
      "    2. 코르바네™ 설치 컴퓨터 정보\r\n"
      "       ＊Computer Name : WINE-98\r\n"
      "       ＊Windows version : 4.10\r\n"
      "       ＊Window Directory : C:\\windows\r\n"
      "       ＊System Directory : C:\\windows\\system\r\n";
  EXPECT_EQ(BuildSummary(f), expected);
  // The asterisk is the full-width one, A3 AA in code page 949.
  EXPECT_NE(expected.find("       \xA3\xAA" "C:"), Text::npos);
}

TEST(Summary, LongValuesAreNeitherCutNorOverrun) {
  ComputerFacts f{Text(599, 'f'), "", 4, 0, Text(255, 'w'), Text(255, 's')};
  Text s = BuildSummary(f);
  EXPECT_NE(s.find(Text(599, 'f') + "\r\n\r\n"), Text::npos);
  EXPECT_NE(s.find("Windows version : 4.0\r\n"), Text::npos);
  EXPECT_NE(s.find("Computer Name : \r\n"), Text::npos);
}

TEST(Summary, VersionComesFromTheLowWord) {
  int major, minor;
  SplitVersion(0xC0000A04ul, &major, &minor);  // Windows 98
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 10);
  SplitVersion(0x00000004ul, &major, &minor);  // Windows 95
  EXPECT_EQ(minor, 0);
}

TEST(Tasks, FirstBoxIsTheHighestBit) {
  EXPECT_EQ(TaskBit(0), 0x10);  // 1010 safe start-up
  EXPECT_EQ(TaskBit(1), 0x08);  // 1011 rescue disk
  EXPECT_EQ(TaskBit(2), 0x04);
  EXPECT_EQ(TaskBit(3), 0x02);  // 1013 scheduled scan
  EXPECT_EQ(TaskBit(4), 0x01);  // 1014 run Corvane
  EXPECT_EQ(TaskBit(1) | TaskBit(3), 0x0A);
  EXPECT_EQ(SetupRunPath("D:\\Apps\\Corvane"), "D:\\Apps\\Corvane\\Setup.run");
}

TEST(UserInfo, TempFileWithOrWithoutBackslash) {
  EXPECT_EQ(TempFile("C:\\WINDOWS\\TEMP"), "C:\\WINDOWS\\TEMP\\FILE.DAT");
  EXPECT_EQ(TempFile("C:\\WINDOWS\\TEMP\\"), "C:\\WINDOWS\\TEMP\\FILE.DAT");
  EXPECT_EQ(TempFile(""), "");
  EXPECT_EQ(TempFile(nullptr), "");
  EXPECT_EQ(TempFile(Text(595, 't').c_str()), "");
}
