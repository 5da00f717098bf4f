// Reporting from the helpers.
#include "support/report.h"

#include <windows.h>

#include "support/text.h"

namespace report {
namespace {

FailureSink g_sink = nullptr;

std::string Utf8(const std::string& cp949) {
  int wideLength = MultiByteToWideChar(949, 0, cp949.data(), static_cast<int>(cp949.size()), nullptr, 0);
  std::wstring wide(wideLength, L'\0');
  MultiByteToWideChar(949, 0, cp949.data(), static_cast<int>(cp949.size()), &wide[0], wideLength);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string Show(const std::string& cp949) {
  std::string out;
  std::string run;  // printable bytes waiting for conversion
  for (unsigned char c : cp949) {
    if (c >= 0x20 && c != 0x7F) {
      run += static_cast<char>(c);
      continue;
    }
    out += Utf8(run);
    run.clear();
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += text::Format("\\x%02X", c);
  }
  return "\"" + out + Utf8(run) + "\"";
}

void SendFailuresTo(FailureSink sink) { g_sink = sink; }

void Failure(const std::string& message) {
  if (g_sink) g_sink(message);
}

}  // namespace report
