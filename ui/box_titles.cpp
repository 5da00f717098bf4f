// Titles of the message boxes that more than one window of setup shows.
#include "ui/box_titles.h"

#include "common/text.h"

const char kSetupErrorTitle[] = "설치 오류";
const char kQuitTitle[] = "설치 종료";

void TellFileCannotBeMade(HWND owner, const char* name) {
  Text text = Text(name) + " 파일을 생성할 수 없습니다.\n설치를 종료하겠습니다.";
  MessageBoxA(owner, text.c_str(), kSetupErrorTitle, MB_OK | MB_ICONERROR);
}
