// Texts of the uninstaller.
#include "product/logic/unsetup_text.h"

const char kUninstallTitle[] = "코르바네™ 제거";
const char kNothingToRemoveText[] = "이 컴퓨터에는 제거할 코르바네™가 없습니다.";

namespace {
// A message box taller than the screen hides its buttons.
constexpr std::size_t kNamesShown = 10;

const char* RefusalReason(FolderRefusal why) {
  switch (why) {
    case FolderRefusal::kNone: break;
    case FolderRefusal::kNotAbsolute: return "드라이브부터 시작하는 전체 경로가 아닙니다.";
    case FolderRefusal::kBadName: return "폴더 이름에 쓸 수 없는 문자가 들어 있습니다.";
    case FolderRefusal::kDriveRoot: return "드라이브의 루트 폴더입니다.";
    case FolderRefusal::kShareRoot: return "네트워크 공유의 루트 폴더입니다.";
    case FolderRefusal::kProtected: return "Windows나 사용자가 쓰는 중요한 폴더입니다.";
    case FolderRefusal::kHoldsProtected: return "Windows나 사용자가 쓰는 중요한 폴더가 들어 있습니다.";
    case FolderRefusal::kThroughLink: return "다른 폴더로 이어지는 연결 지점을 거치는 폴더입니다.";
  }
  return "";
}
}  // namespace

std::string RemoveQuestion(const std::string& installFolder) {
  std::string text = "코르바네™를 이 컴퓨터에서 제거하시겠습니까?";
  if (!installFolder.empty()) text += "\n\n설치 폴더: " + installFolder;
  return text;
}

std::string OtherFilesQuestion(const std::string& installFolder, const std::vector<FolderEntry>& others) {
  std::string text = "설치 폴더에 코르바네™가 설치하지 않은 파일이 있습니다.\n" + installFolder + "\n\n";
  for (std::size_t i = 0; i < others.size() && i < kNamesShown; ++i)
    text += "    " + others[i].name + (others[i].isFolder ? "\\" : "") + "\n";
  if (others.size() > kNamesShown) text += "    ... 외 " + std::to_string(others.size() - kNamesShown) + "개\n";
  text += "\n이 파일도 모두 삭제하시겠습니까?\n[아니요]를 누르면 이 파일과 설치 폴더는 그대로 남습니다.";
  return text;
}

std::string RefusedRecordText(const RefusedRecord& refused) {
  const char* record = refused.kind == RefusedRecord::kInstallFolder ? "설치 폴더" : "프로그램 그룹";
  return std::string("설치 기록에 적힌 다음 폴더는 지울 수 없으므로 코르바네™를 제거하지 않았습니다.\n\n") + record +
         ": " + refused.folder + "\n" + RefusalReason(refused.why);
}

std::string DoneText(const std::string& keptFolder, bool filesLeftForRestart) {
  std::string text = "코르바네™를 제거했습니다.";
  if (!keptFolder.empty()) text += "\n\n사용자의 파일이 남아 있는 다음 폴더는 지우지 않았습니다.\n" + keptFolder;
  if (filesLeftForRestart) text += "\n\n사용 중인 파일 몇 개는 컴퓨터를 다시 시작할 때 삭제됩니다.";
  return text;
}
