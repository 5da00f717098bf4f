// Titles of the message boxes that more than one window of setup shows.
#include "ui/box_titles.h"

const char kSetupErrorTitle[] = "설치 오류";
const char kQuitTitle[] = "설치 종료";
