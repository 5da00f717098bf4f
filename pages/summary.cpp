// The confirmation page's summary text.
#include "summary.h"

#include "common/bounded_text.h"

namespace {

constexpr size_t kSummaryBufferSize = 5000;
const char kItem[] = "       ＊";  // 7 blanks and the full-width asterisk

Text Item(const char* label, const Text& value) {
  return Text(kItem) + label + value + "\r\n";
}

}  // namespace

Text BuildSummary(const ComputerFacts& f) {
  Text s = " 설치 미리보기\r\n\r\n";
  s += "    1. 코르바네™ 설치 폴더\r\n";
  s += Item("", f.installFolder) + "\r\n";
  s += "    2. 코르바네™ 설치 컴퓨터 정보\r\n";
  s += Item("Computer Name : ", f.computerName);
  s += Item("Windows version : ",
            DecimalText(f.majorVersion) + "." + DecimalText(f.minorVersion));
  s += Item("Window Directory : ", f.windowsDirectory);
  s += Item("System Directory : ", f.systemDirectory);
  if (s.size() > kSummaryBufferSize - 1) s.resize(kSummaryBufferSize - 1);
  return s;
}

void SplitVersion(unsigned long version, int* major, int* minor) {
  *major = static_cast<int>(version & 0xFF);
  *minor = static_cast<int>((version >> 8) & 0xFF);
}
