// Texts of the uninstaller.
#include "product/logic/unsetup_text.h"

#include "common/bounded_text.h"

const char kUninstallTitle[] = "코르바네™ 제거";
const char kNothingToRemoveText[] = "이 컴퓨터에는 제거할 코르바네™가 없습니다.";

namespace {

// Paths a line each, as many as a message shows.
Text Listed(const List<Text>& paths) {
  Text text;
  for (size_t i = 0; i < paths.size() && i < kOtherNamesShown; ++i) text += "    " + paths[i] + "\n";
  if (paths.size() > kOtherNamesShown) text += "    ... 외 " + DecimalText(paths.size() - kOtherNamesShown) + "개\n";
  return text;
}

}  // namespace

Text RemoveQuestion(const Text& installFolder) {
  Text text = "코르바네™를 이 컴퓨터에서 제거하시겠습니까?";
  if (!installFolder.empty()) text += "\n\n설치 폴더: " + installFolder;
  return text;
}

Text OtherFilesQuestion(const Text& installFolder, const List<FolderEntry>& others,
                               const Text& fullListFile) {
  Text text = "설치 폴더에 코르바네™가 설치하지 않은 파일이 있습니다.\n" + installFolder + "\n\n";
  for (size_t i = 0; i < others.size() && i < kOtherNamesShown; ++i)
    text += "    " + others[i].name + (others[i].isFolder ? "\\" : "") + "\n";
  if (others.size() > kOtherNamesShown) text += "    ... 외 " + DecimalText(others.size() - kOtherNamesShown) + "개\n";
  if (!fullListFile.empty()) text += "\n전체 목록: " + fullListFile + "\n";
  text += "\n이 파일도 모두 삭제하시겠습니까?\n[아니요]를 누르면 이 파일과 설치 폴더는 그대로 남습니다.";
  return text;
}

Text DoneText(const RemovalOutcome& outcome) {
  Text text = outcome.notRemoved.empty() ? "코르바네™를 제거했습니다." : "코르바네™를 모두 제거하지는 못했습니다.";
  if (!outcome.notRemoved.empty()) text += "\n\n다음 파일은 지울 수 없었습니다.\n" + Listed(outcome.notRemoved);
  if (!outcome.keptChanged.empty())
    text += "\n\n설치한 뒤에 다른 프로그램이나 사용자가 바꾼 다음 파일은 남겼습니다.\n" + Listed(outcome.keptChanged);
  if (!outcome.keptFolder.empty())
    text += "\n\n사용자의 파일이 남아 있는 다음 폴더는 지우지 않았습니다.\n" + outcome.keptFolder;
  if (outcome.leftForRestart) text += "\n\n사용 중인 파일 몇 개는 컴퓨터를 다시 시작할 때 삭제됩니다.";
  if (outcome.recordsKept)
    text += "\n\n남은 파일이 있어 제거 기록을 지우지 않았습니다.\n컴퓨터를 다시 시작한 뒤 제거를 한 번 더 실행하십시오.";
  return text;
}

Text RefusedRecordText(const RefusedRecord& refused) {
  const char* record = refused.kind == RefusedRecord::InstallFolder ? "설치 폴더" : "프로그램 그룹";
  return Text("설치 기록에 적힌 다음 폴더는 지울 수 없으므로 코르바네™를 제거하지 않았습니다.\n\n") + record +
         ": " + refused.folder + "\n" + FolderRefusalReason(refused.why);
}

Text DoneText(const Text& keptFolder, bool filesLeftForRestart) {
  RemovalOutcome outcome;
  outcome.keptFolder = keptFolder;
  outcome.leftForRestart = filesLeftForRestart;
  return DoneText(outcome);
}
