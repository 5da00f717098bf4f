// Whether a recorded folder may be removed from or have its programs ended.
#include "common/folder_verdict.h"

#include "common/path_text.h"

namespace {

// Characters that Windows refuses in a name; a colon only after a drive letter.
bool HasBadCharacter(const Text& canonical) {
  for (size_t i = 0; i < canonical.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(canonical[i]);
    if (c < 0x20 || (c == ':' && i != 1)) return true;
    for (char bad : {'*', '?', '"', '<', '>', '|'})
      if (c == static_cast<unsigned char>(bad)) return true;
  }
  return false;
}

// The canonical text keeps such a name only where Windows versions disagree
// on its meaning.
bool HasDotsOnlyName(const Text& canonical) {
  size_t at = CanonicalRootLength(canonical);
  while (at < canonical.size()) {
    if (canonical[at] == '\\') ++at;
    size_t end = canonical.find('\\', at);
    if (end == Text::npos) end = canonical.size();
    if (end > at && canonical.find_first_not_of(". ", at) >= end) return true;
    at = end;
  }
  return false;
}

}  // namespace

FolderRefusal JudgeFolder(const Text& folder, const List<Text>& protectedFolders) {
  Text canonical = CanonicalPathText(folder);
  size_t root = CanonicalRootLength(canonical);
  bool share = canonical.compare(0, 2, "\\\\") == 0;
  if (share && root == canonical.size()) return FolderRefusal::ShareRoot;
  if (!IsAbsolutePath(canonical)) return FolderRefusal::NotAbsolute;
  if (HasBadCharacter(canonical) || HasDotsOnlyName(canonical)) return FolderRefusal::BadName;
  if (root == canonical.size()) return FolderRefusal::DriveRoot;

  bool holdsProtected = false;
  for (const Text& entry : protectedFolders) {
    Text kept = CanonicalPathText(entry);
    if (!IsAbsolutePath(kept)) continue;
    if (SamePath(canonical, kept)) return FolderRefusal::Protected;
    if (IsInsideFolder(kept, canonical)) holdsProtected = true;
  }
  return holdsProtected ? FolderRefusal::HoldsProtected : FolderRefusal::None;
}

const char* FolderRefusalReason(FolderRefusal why) {
  switch (why) {
    case FolderRefusal::None: break;
    case FolderRefusal::NotAbsolute: return "드라이브부터 시작하는 전체 경로가 아닙니다.";
    case FolderRefusal::BadName: return "폴더 이름에 쓸 수 없는 문자가 들어 있습니다.";
    case FolderRefusal::DriveRoot: return "드라이브의 루트 폴더입니다.";
    case FolderRefusal::ShareRoot: return "네트워크 공유의 루트 폴더입니다.";
    case FolderRefusal::Protected: return "Windows나 사용자가 쓰는 중요한 폴더입니다.";
    case FolderRefusal::HoldsProtected: return "Windows나 사용자가 쓰는 중요한 폴더가 들어 있습니다.";
    case FolderRefusal::ThroughLink: return "다른 폴더로 이어지는 연결 지점을 거치는 폴더입니다.";
    case FolderRefusal::OutsidePrograms: return "시작 메뉴의 프로그램 폴더 안에 있지 않습니다.";
  }
  return "";
}
