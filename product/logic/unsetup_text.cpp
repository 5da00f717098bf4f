// Texts of the uninstaller.
#include "product/logic/unsetup_text.h"

const char kUninstallTitle[] = "코르바네™ 제거";
const char kNothingToRemoveText[] = "이 컴퓨터에는 제거할 코르바네™가 없습니다.";

namespace {
// A message box taller than the screen hides its buttons.
constexpr std::size_t kNamesShown = 10;
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

std::string DoneText(const std::string& keptFolder, bool filesLeftForRestart) {
  std::string text = "코르바네™를 제거했습니다.";
  if (!keptFolder.empty()) text += "\n\n사용자의 파일이 남아 있는 다음 폴더는 지우지 않았습니다.\n" + keptFolder;
  if (filesLeftForRestart) text += "\n\n사용 중인 파일 몇 개는 컴퓨터를 다시 시작할 때 삭제됩니다.";
  return text;
}
