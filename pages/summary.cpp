// The confirmation page's summary text.
#include "summary.h"

namespace {

constexpr std::size_t kSummaryBufferSize = 5000;
const char kItem[] = "       ＊";  // 7 blanks and the full-width asterisk

std::string Item(const char* label, const std::string& value) {
  return std::string(kItem) + label + value + "\r\n";
}

}  // namespace

std::string BuildSummary(const ComputerFacts& f) {
  std::string s = " 설치 미리보기\r\n\r\n";
  s += "    1. 코르바네™ 설치 폴더\r\n";
  s += Item("", f.installFolder) + "\r\n";
  s += "    2. 코르바네™ 설치 컴퓨터 정보\r\n";
  s += Item("Computer Name : ", f.computerName);
  s += Item("Windows version : ",
            std::to_string(f.majorVersion) + "." + std::to_string(f.minorVersion));
  s += Item("Window Directory : ", f.windowsDirectory);
  s += Item("System Directory : ", f.systemDirectory);
  if (s.size() > kSummaryBufferSize - 1) s.resize(kSummaryBufferSize - 1);
  return s;
}

void SplitVersion(unsigned long version, int* major, int* minor) {
  *major = static_cast<int>(version & 0xFF);
  *minor = static_cast<int>((version >> 8) & 0xFF);
}
