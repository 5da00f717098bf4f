// Reporting of the driver.
#include "check.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

int g_failures = 0;
const DWORD g_start = GetTickCount();

std::string FormatArgs(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) vsnprintf(&out[0], n + 1, format, args);
  return out;
}

void Print(const char* tag, const std::string& message) {
  std::printf("[%6.2f] %s%s\n", Elapsed() / 1000.0, tag, message.c_str());
  std::fflush(stdout);
}

}  // namespace

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = FormatArgs(format, args);
  va_end(args);
  return out;
}

std::string Show(const std::string& cp949) {
  std::string out;
  std::string run;  // printable bytes waiting for conversion
  auto flush = [&] {
    if (run.empty()) return;
    int wide_len = MultiByteToWideChar(949, 0, run.data(), static_cast<int>(run.size()), nullptr, 0);
    std::wstring wide(wide_len, L'\0');
    MultiByteToWideChar(949, 0, run.data(), static_cast<int>(run.size()), &wide[0], wide_len);
    int len = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_len, nullptr, 0, nullptr, nullptr);
    std::string utf8(len, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_len, &utf8[0], len, nullptr, nullptr);
    out += utf8;
    run.clear();
  };
  for (unsigned char c : cp949) {
    if (c >= 0x20 && c != 0x7F) {
      run += static_cast<char>(c);
      continue;
    }
    flush();
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else out += Format("\\x%02X", c);
  }
  flush();
  return "\"" + out + "\"";
}

void Note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("", FormatArgs(format, args));
  va_end(args);
}

void Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("FAIL: ", FormatArgs(format, args));
  va_end(args);
  ++g_failures;
}

void Abort(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("FAIL: ", FormatArgs(format, args));
  va_end(args);
  ++g_failures;
  throw ScenarioAbort{};
}

int FailureCount() { return g_failures; }

unsigned long Elapsed() { return GetTickCount() - g_start; }

bool ExpectText(const std::string& seen, const std::string& want, const char* what) {
  if (seen == want) return true;
  Fail("%s: saw %s, expected %s", what, Show(seen).c_str(), Show(want).c_str());
  return false;
}

bool ExpectNumber(long long seen, long long want, const char* what) {
  if (seen == want) return true;
  Fail("%s: saw %lld, expected %lld", what, seen, want);
  return false;
}

bool ExpectTrue(bool ok, const char* what) {
  if (!ok) Fail("%s", what);
  return ok;
}

void Skip(const char* why) {
  Note("skipped: %s", why);
  std::exit(77);
}
