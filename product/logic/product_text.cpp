// Texts of the product's windows.
#include "product/logic/product_text.h"

#include "common/bounded_text.h"
#include "install/task_file.h"

const char kProductName[] = "코르바네™ for Win95/98";
const char kProductVersion[] = "버전 1.0";

namespace {

struct PendingTask {
  unsigned char bit;
  const char* name;
};
const PendingTask kPendingTasks[] = {
    {kTaskUpdateWizard, "업데이트 마법사"},
    {kTaskRescueDisk, "복구 디스크 만들기"},
    {kTaskSafeBoot, "안전 부팅 설정"},
};

}  // namespace

Text ProductInfoText(const Text& installFolder, unsigned pendingTasks) {
  Text text = Text(kProductName) + "\r\n" + kProductVersion + "\r\n설치 폴더: " + installFolder;
  Text pending;
  for (const PendingTask& task : kPendingTasks) {
    if (!(pendingTasks & task.bit)) continue;
    if (!pending.empty()) pending += ", ";
    pending += task.name;
  }
  if (!pending.empty()) text += "\r\n남은 설치 작업: " + pending;
  return text;
}

Text FindingLine(const Text& path, const Text& virus, Treatment treatment) {
  const char* outcome = "";
  switch (treatment) {
    case Treatment::Repaired: outcome = "복구했습니다"; break;
    case Treatment::Deleted: outcome = "삭제했습니다"; break;
    case Treatment::Declined: outcome = "치료하지 않았습니다"; break;
    case Treatment::Failed: outcome = "치료하지 못했습니다"; break;
  }
  return path + ": " + virus + " - " + outcome;
}

Text ScanningText(const Text& path) { return "검사 중: " + path; }

Text ScanSummaryText(const ScanTally& tally) {
  return "검사 완료: 파일 " + DecimalText(tally.files) + "개, 바이러스 " + DecimalText(tally.found) +
         "개 (복구 " + DecimalText(tally.repaired) + ", 삭제 " + DecimalText(tally.deleted) + ")";
}
