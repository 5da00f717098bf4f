// Reporting of the driver.
#include "check.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

int g_failures = 0;
const DWORD g_start = GetTickCount();

void Print(const char* tag, const std::string& message) {
  std::printf("[%6.2f] %s%s\n", Elapsed() / 1000.0, tag, message.c_str());
  std::fflush(stdout);
}

}  // namespace

std::string ShowAll(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ", ") + Show(item);
  return out.empty() ? std::string("none") : out;
}

void Note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("", text::FormatList(format, args));
  va_end(args);
}

void Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("FAIL: ", text::FormatList(format, args));
  va_end(args);
  ++g_failures;
}

void Abort(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("FAIL: ", text::FormatList(format, args));
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
