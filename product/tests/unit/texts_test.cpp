// The Korean texts of the product's windows and of the uninstaller, as code
// page 949 bytes, and what they name.
#include <gtest/gtest.h>

#include "common/bounded_text.h"

#include <set>

#include "product/logic/product_text.h"
#include "product/logic/unsetup_text.h"

namespace {

TEST(ProductText, TheNameIsCodePage949) {
  // "코르바네™" in code page 949: the trade mark sign is A2 E2.
  EXPECT_EQ(0u, Text(kProductName).find("\xC4\xDA\xB8\xA3\xB9\xD9\xB3\xD7\xA2\xE2"));
}

TEST(ProductText, InfoNamesTheProductTheVersionTheFolderAndPendingTasks) {
  EXPECT_EQ("코르바네™ for Win95/98\r\n버전 1.0\r\n설치 폴더: C:\\Program Files\\Corvane",
            ProductInfoText("C:\\Program Files\\Corvane", 0));
  // Running the product and the scheduled scan are never left pending.
  EXPECT_EQ(ProductInfoText("C:\\A", 0), ProductInfoText("C:\\A", 0x03));
  EXPECT_EQ("코르바네™ for Win95/98\r\n버전 1.0\r\n설치 폴더: C:\\A\r\n남은 설치 작업: 업데이트 마법사, 안전 부팅 설정",
            ProductInfoText("C:\\A", 0x14));
}

TEST(ProductText, FindingsAndSummary) {
  EXPECT_EQ("C:\\A\\x.com: EICAR - 삭제했습니다", FindingLine("C:\\A\\x.com", "EICAR", Treatment::Deleted));
  EXPECT_EQ("C:\\A\\x.com: M - 복구했습니다", FindingLine("C:\\A\\x.com", "M", Treatment::Repaired));
  EXPECT_NE(FindingLine("p", "v", Treatment::Declined), FindingLine("p", "v", Treatment::Failed));
  ScanTally tally;
  tally.files = 12;
  tally.found = 3;
  tally.repaired = 1;
  tally.deleted = 2;
  EXPECT_EQ("검사 완료: 파일 12개, 바이러스 3개 (복구 1, 삭제 2)", ScanSummaryText(tally));
}

TEST(UnsetupText, QuestionNamesTheFolderWhenThereIsOne) {
  EXPECT_NE(Text::npos,
            RemoveQuestion("C:\\Program Files\\Corvane").find("\n\n설치 폴더: C:\\Program Files\\Corvane"));
  EXPECT_EQ(Text::npos, RemoveQuestion("").find("설치 폴더"));
}

TEST(UnsetupText, OtherFilesQuestionListsAScreenfulAndCountsTheRest) {
  List<FolderEntry> few = {{"report.txt", false}, {"Mine", true}};
  Text question = OtherFilesQuestion("C:\\Corvane", few);
  EXPECT_NE(Text::npos, question.find("C:\\Corvane\n"));
  EXPECT_NE(Text::npos, question.find("    report.txt\n    Mine\\\n"));
  EXPECT_EQ(Text::npos, question.find("외"));

  List<FolderEntry> many;
  for (int i = 0; i < 13; ++i) many.push_back({"f" + DecimalText(i), false});
  question = OtherFilesQuestion("C:\\Corvane", many);
  EXPECT_NE(Text::npos, question.find("    f9\n"));
  EXPECT_EQ(Text::npos, question.find("    f10\n"));
  EXPECT_NE(Text::npos, question.find("... 외 3개"));
  question = OtherFilesQuestion("C:\\Corvane", many, "C:\\TEMP\\CVFILES.TXT");
  EXPECT_NE(Text::npos, question.find("... 외 3개\n\n전체 목록: C:\\TEMP\\CVFILES.TXT\n"));
}

TEST(UnsetupText, ARefusedRecordIsNamedWithItsFolderAndTheReason) {
  Text root = RefusedRecordText({RefusedRecord::InstallFolder, "E:\\/", FolderRefusal::DriveRoot});
  EXPECT_NE(Text::npos, root.find("지울 수 없으므로"));
  EXPECT_NE(Text::npos, root.find("\n\n설치 폴더: E:\\/\n드라이브의 루트 폴더입니다."));
  Text desktop = RefusedRecordText({RefusedRecord::ProgramGroup, "C:\\windows\\Desktop", FolderRefusal::Protected});
  EXPECT_NE(Text::npos, desktop.find("프로그램 그룹: C:\\windows\\Desktop\n"));
  // Each reason has words of its own.
  std::set<Text> reasons;
  for (FolderRefusal why : {FolderRefusal::NotAbsolute, FolderRefusal::BadName, FolderRefusal::DriveRoot,
                            FolderRefusal::ShareRoot, FolderRefusal::Protected, FolderRefusal::HoldsProtected,
                            FolderRefusal::ThroughLink, FolderRefusal::OutsidePrograms}) {
    Text text = RefusedRecordText({RefusedRecord::InstallFolder, "C:\\X", why});
    reasons.insert(text.substr(text.rfind('\n') + 1));
  }
  EXPECT_EQ(8u, reasons.size());
  EXPECT_EQ(0u, reasons.count(""));
}

TEST(UnsetupText, DoneTellsWhatWasKept) {
  EXPECT_EQ("코르바네™를 제거했습니다.", DoneText("", false));
  EXPECT_NE(Text::npos, DoneText("C:\\Corvane", false).find("\nC:\\Corvane"));
  EXPECT_NE(Text::npos, DoneText("", true).find("다시 시작할 때"));
  // What could not go is named, and no longer called removed.
  RemovalOutcome outcome;
  outcome.notRemoved = {"C:\\Corvane\\CV32W.EXE"};
  outcome.recordsKept = true;
  Text text = DoneText(outcome);
  EXPECT_EQ(0u, text.find("코르바네™를 모두 제거하지는 못했습니다."));
  EXPECT_NE(Text::npos, text.find("    C:\\Corvane\\CV32W.EXE\n"));
  EXPECT_NE(Text::npos, text.find("한 번 더 실행"));
}

}  // namespace
