// SETUP.EXE's command line for unattended installs.
#include "shell/switches.h"

#include <stddef.h>

#include "common/bounded_text.h"
#include "common/path_text.h"
#include "install/result_codes.h"
#include "install/task_file.h"

namespace {

const char kSwitchesText[] =
    "SETUP.EXE [/S] [/NAME=\"이름\"] [/COMPANY=\"회사\"] [/SCAN=SKIP|REPORT|REPAIR|DELETE]\n"
    "          [/TASKS=hh] [/LOG=파일] [/D=설치 폴더]\n\n"
    "/S\t\t창과 질문 없이 설치합니다.\n"
    "/D=폴더\t\t설치 폴더 (절대 경로, 마지막에 씁니다)\n"
    "/NAME, /COMPANY\t사용자 이름과 회사\n"
    "/SCAN\t\t설치 전 바이러스 검사: 안 함, 기록만, 치료, 치료 후 삭제 (기본: REPAIR)\n"
    "/TASKS=hh\t설치 후 작업 (두 자리 16진수, 기본: 모두)\n"
    "/LOG=파일\t설치 기록을 파일에 남깁니다.\n\n"
    "끝 코드: ";
// The codes' list breaks its line after this many entries.
constexpr size_t kCodesOnFirstLine = 3;

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
  int high = HexDigitValue(value[0]), low = HexDigitValue(value[1]);
  if (high < 0 || low < 0 || ((high << 4 | low) & ~kEveryTask)) return false;
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

SetupSwitches ParseSwitches(const char* arguments) {
  SetupSwitches s;
  const char* p = arguments;
  Text word;
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) break;
    if (p[0] == '/' && UpperAscii(p[1]) == 'D' && p[2] == '=') {
      s.folderGiven = true;
      s.folder = RestOfLine(p + 3);
      if (s.folder.size() > kSwitchFolderMax) Refuse(&s, "/D= 값이 너무 깁니다");
      else if (!IsAbsolutePath(CanonicalPathText(s.folder))) Refuse(&s, "/D= 에는 절대 경로가 필요합니다");
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

Text SwitchesHelpText() {
  Text text = kSwitchesText;
  for (size_t i = 0; i < kResultCodeCount; ++i) {
    if (i > 0) text += i == kCodesOnFirstLine ? ",\n" : ", ";
    text += DecimalText(static_cast<unsigned long>(kResultCodes[i].code)) + " " + kResultCodes[i].meaning;
  }
  return text;
}
