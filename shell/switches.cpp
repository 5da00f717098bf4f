// SETUP.EXE's command line for unattended installs.
#include "shell/switches.h"

#include <stddef.h>

#include "common/bounded_text.h"

const char kSwitchesHelpText[] =
    "SETUP.EXE [/S] [/NAME=\"이름\"] [/COMPANY=\"회사\"] [/SCAN=SKIP|REPORT|REPAIR|DELETE]\n"
    "          [/TASKS=hh] [/LOG=파일] [/D=설치 폴더]\n\n"
    "/S\t\t창과 질문 없이 설치합니다.\n"
    "/D=폴더\t\t설치 폴더 (절대 경로, 마지막에 씁니다)\n"
    "/NAME, /COMPANY\t사용자 이름과 회사\n"
    "/SCAN\t\t설치 전 바이러스 검사: 안 함, 기록만, 치료, 치료 후 삭제 (기본: REPAIR)\n"
    "/TASKS=hh\t설치 후 작업 (두 자리 16진수, 기본: 모두)\n"
    "/LOG=파일\t설치 기록을 파일에 남깁니다.\n\n"
    "끝 코드: 0 설치됨, 3010 다시 시작 필요, 1603 실패,\n"
    "1618 다른 설치 실행 중, 1638 이미 설치됨, 1639 잘못된 명령줄";

namespace {

constexpr unsigned kTaskBits = 0x1F;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// True when `word` starts with `name` in any ASCII case.
bool StartsWith(const Text& word, const char* name) {
  size_t i = 0;
  for (; name[i]; ++i) {
    if (i >= word.size() || UpperAscii(word[i]) != name[i]) return false;
  }
  return true;
}

bool SameWord(const Text& word, const char* name) {
  return StartsWith(word, name) && word.size() == Text(name).size();
}

int HexDigit(char c) {
  c = UpperAscii(c);
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A drive letter, a colon and a backslash, or a UNC name.
bool IsAbsolute(const Text& path) {
  if (path.size() >= 3 && UpperAscii(path[0]) >= 'A' && UpperAscii(path[0]) <= 'Z' && path[1] == ':' && path[2] == '\\')
    return true;
  return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

// Skips the program path the way the runtime splits argv[0].
const char* AfterProgramPath(const char* p) {
  while (IsBlank(*p)) ++p;
  bool quoted = false;
  for (; *p; ++p) {
    if (*p == '"') quoted = !quoted;
    else if (!quoted && IsBlank(*p)) break;
  }
  return p;
}

// One word of the line: quotes group blanks and are dropped.
const char* NextWord(const char* p, Text* word) {
  word->clear();
  bool quoted = false;
  for (; *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && IsBlank(*p)) break;
    *word += *p;
  }
  return p;
}

// The first fault found is the one reported; the words after it are still
// read, so that a /LOG given later still gets the report.
void Refuse(SetupSwitches* s, const Text& why) {
  if (s->error.empty()) s->error = why;
}

bool TakeValue(const Text& word, const char* name, size_t max, Text* value, SetupSwitches* s) {
  *value = word.substr(Text(name).size());
  if (value->size() <= max) return true;
  Refuse(s, Text(name) + " 값이 너무 깁니다");
  value->clear();
  return false;
}

bool ReadScan(const Text& value, ScanMode* mode) {
  if (SameWord(value, "SKIP")) *mode = ScanMode::Skip;
  else if (SameWord(value, "REPORT")) *mode = ScanMode::Report;
  else if (SameWord(value, "REPAIR")) *mode = ScanMode::Repair;
  else if (SameWord(value, "DELETE")) *mode = ScanMode::Delete;
  else return false;
  return true;
}

bool ReadTasks(const Text& value, unsigned char* tasks) {
  if (value.size() != 2) return false;
  int high = HexDigit(value[0]), low = HexDigit(value[1]);
  if (high < 0 || low < 0 || ((high << 4 | low) & ~kTaskBits)) return false;
  *tasks = static_cast<unsigned char>(high << 4 | low);
  return true;
}

// The folder of /D=: the rest of the line as it stands, blanks at its end
// dropped.
Text RestOfLine(const char* p) {
  Text rest = p;
  while (!rest.empty() && IsBlank(rest.back())) rest.pop_back();
  return rest;
}

}  // namespace

SetupSwitches ParseSwitches(const char* commandLine) {
  SetupSwitches s;
  const char* p = AfterProgramPath(commandLine);
  Text word;
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) break;
    if (p[0] == '/' && UpperAscii(p[1]) == 'D' && p[2] == '=') {
      s.folderGiven = true;
      s.folder = RestOfLine(p + 3);
      if (s.folder.size() > kSwitchFolderMax) Refuse(&s, "/D= 값이 너무 깁니다");
      else if (!IsAbsolute(s.folder)) Refuse(&s, "/D= 에는 절대 경로가 필요합니다");
      break;
    }
    p = NextWord(p, &word);
    if (SameWord(word, "/S")) {
      s.silent = true;
    } else if (SameWord(word, "/?")) {
      s.help = true;
    } else if (StartsWith(word, "/NAME=")) {
      s.nameGiven = TakeValue(word, "/NAME=", kSwitchEntryMax, &s.name, &s);
    } else if (StartsWith(word, "/COMPANY=")) {
      s.companyGiven = TakeValue(word, "/COMPANY=", kSwitchEntryMax, &s.company, &s);
    } else if (StartsWith(word, "/LOG=")) {
      if (TakeValue(word, "/LOG=", kSwitchLogMax, &s.log, &s) && s.log.empty()) Refuse(&s, "/LOG= 에 파일 이름이 없습니다");
    } else if (StartsWith(word, "/SCAN=")) {
      if (!ReadScan(word.substr(6), &s.scan)) Refuse(&s, "/SCAN= 값을 알 수 없습니다: " + word.substr(6, kSwitchEntryMax));
    } else if (StartsWith(word, "/TASKS=")) {
      s.tasksGiven = ReadTasks(word.substr(7), &s.tasks);
      if (!s.tasksGiven) Refuse(&s, "/TASKS= 값을 알 수 없습니다: " + word.substr(7, kSwitchEntryMax));
    } else {
      Refuse(&s, "알 수 없는 스위치: " + word.substr(0, kSwitchEntryMax));
    }
  }
  return s;
}
