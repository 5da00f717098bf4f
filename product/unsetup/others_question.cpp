// The question whether the user's files in the install folder go too.
#include "product/unsetup/others_question.h"

#include <windows.h>

#include "common/path_text.h"
#include "product/logic/unsetup_text.h"
#include "product/unsetup/installation.h"

namespace {

const char kFullListName[] = "CVFILES.TXT";

// Every file below `folder`, one path a line, for the user to read in full.
void ListTree(const Text& folder, Text* text) {
  for (const FolderEntry& entry : ListFolder(folder)) {
    Text path = JoinPath(folder, entry.name);
    *text += path + (entry.isFolder ? "\\\r\n" : "\r\n");
    if (entry.isFolder) ListTree(path, text);
  }
}

// The full list beside the uninstaller's copy in TEMP, when the question
// cannot name every entry; "" when none was written.
Text WriteFullList(const Text& folder, const List<FolderEntry>& others) {
  if (others.size() <= kOtherNamesShown) return "";
  char temp[MAX_PATH];
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) return "";
  Text path = JoinPath(temp, kFullListName), text;
  ListTree(folder, &text);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return "";
  DWORD written = 0;
  bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) && written == text.size();
  CloseHandle(file);
  if (ok) return path;
  (void)DeleteFileA(path.c_str());
  return "";
}

}  // namespace

bool AskAboutOthers::DeleteOthers(const Text& folder, const List<FolderEntry>& others) {
  Text fullList = WriteFullList(folder, others);
  Text question = OtherFilesQuestion(folder, others, fullList);
  bool agrees = MessageBoxA(NULL, question.c_str(), kUninstallTitle,
                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND) == IDYES;
  if (!fullList.empty()) (void)DeleteFileA(fullList.c_str());
  return agrees;
}
