// The wizard's graph, the folder choice, the summary and the task bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

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

// The wizard's pages, and the ways on that pages take themselves besides the
// flow table (flow_table.h): the scan choice's Next by its radio button, the
// confirmation's Next into the copy page, and the copy page's end, once the
// job is done, into the task page.
const int kPages[] = {IDD_WELCOME, IDD_AGREEMENT, IDD_USERINFO, IDD_SCAN_CHOICE, IDD_SCAN,
                      IDD_FOLDER,  IDD_CONFIRM,   IDD_COPY,     IDD_TASKS,       IDD_FINISH};

struct Branch {
  int page;
  int next;
};
const Branch kBranches[] = {
    {IDD_SCAN_CHOICE, IDD_SCAN}, {IDD_SCAN_CHOICE, IDD_FOLDER}, {IDD_CONFIRM, IDD_COPY}, {IDD_COPY, IDD_TASKS}};

// The pages that the way forward from `page` may open: its Next in the table
// or its own branches.
std::vector<int> Forward(int page) {
  std::vector<int> next;
  if (int n = NextPage(page, IDC_NEXT)) next.push_back(n);
  for (const Branch& b : kBranches)
    if (b.page == page) next.push_back(b.next);
  return next;
}

// Every page that `page` may open by any button or branch.
std::set<int> Ways(int page) {
  std::set<int> ways;
  for (int command = 0; command <= 0xFFFF; ++command)
    if (int n = NextPage(page, command)) ways.insert(n);
  for (int n : Forward(page)) ways.insert(n);
  return ways;
}

bool RunsAJob(int page) { return page == IDD_SCAN || page == IDD_COPY; }
bool AnyPage(int) { return true; }

// Whether every way forward from `from` comes to `to`, passing only pages
// that `pass` allows, within as many steps as there are pages: a way that
// ends elsewhere, goes round or passes another page fails.
bool EveryWayForwardReaches(int from, int to, bool (*pass)(int), size_t steps = 0) {
  const std::vector<int> next = Forward(from);
  if (next.empty() || steps == std::size(kPages)) return false;
  for (int n : next)
    if (n != to && !(pass(n) && EveryWayForwardReaches(n, to, pass, steps + 1))) return false;
  return true;
}

}  // namespace

// Every command id on every page: only Next and Back lead anywhere, and only
// to a page of the wizard; the preparing dialog and ids that name no page
// lead nowhere.
TEST(Flow, OnlyNextAndBackLeadAnywhereAndOnlyToPages) {
  for (int page : {0, IDD_PREPARING}) EXPECT_EQ(Ways(page).size(), 0u) << page;
  for (int page : kPages) {
    for (int command = 0; command <= 0xFFFF; ++command) {
      const int next = NextPage(page, command);
      if (next == 0) continue;
      // Cancel asks first, Browse stays on its page, other ids are ignored.
      EXPECT_TRUE(command == IDC_NEXT || command == IDC_BACK) << page << " " << command;
      EXPECT_NE(std::find(std::begin(kPages), std::end(kPages), next), std::end(kPages)) << page << " " << command;
    }
  }
  // A row for the Next of a page that chooses its own way on would open a
  // second page when that one ends.
  for (const Branch& b : kBranches) EXPECT_EQ(NextPage(b.page, IDC_NEXT), 0) << b.page;
}

TEST(Flow, EveryPageIsReachedFromTheWelcomePage) {
  std::set<int> reached = {IDD_WELCOME};
  std::vector<int> open = {IDD_WELCOME};
  while (!open.empty()) {
    const int page = open.back();
    open.pop_back();
    for (int next : Ways(page))
      if (reached.insert(next).second) open.push_back(next);
  }
  EXPECT_EQ(reached, std::set<int>(std::begin(kPages), std::end(kPages)));
}

// No way forward goes round in a circle or stops short of the finish page,
// and the finish page leads nowhere.
TEST(Flow, EveryWayForwardEndsAtTheFinishPage) {
  EXPECT_TRUE(Ways(IDD_FINISH).empty());
  EXPECT_TRUE(EveryWayForwardReaches(IDD_WELCOME, IDD_FINISH, AnyPage));
}

// Back opens a page from which every way forward, whatever the user chooses
// there, comes straight back to the page left, or back through the scan page,
// whose scan then runs again; Back itself never opens a page that runs a job.
TEST(Flow, BackLeadsWhereNextComesBack) {
  int backs = 0;
  for (int page : kPages) {
    const int back = NextPage(page, IDC_BACK);
    if (back == 0) continue;
    ++backs;
    EXPECT_TRUE(EveryWayForwardReaches(back, page, RunsAJob)) << page << " back to " << back;
    EXPECT_FALSE(RunsAJob(back)) << page << " back to " << back;
  }
  EXPECT_GT(backs, 0);
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
