// The engine double's script parser on arbitrary text, and answers for
// arbitrary paths (with the Korean code page's lead bytes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/doubles/engine/engine_script.h"

namespace {
bool Cp949Lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t split = text.find('\x01');
  std::string path = split == std::string::npos ? "C:\\A.EXE" : text.substr(split + 1);
  engine_script::Script script = engine_script::Parse(text.substr(0, split));
  for (int i = 0; i < 3; ++i) {
    engine_script::Answer answer = engine_script::NextAnswer(script, path, Cp949Lead);
    if (!answer.found && (answer.report != 0 || answer.result != 1)) std::abort();
  }
  for (const engine_script::Entry& entry : script.entries) {
    if (entry.file.empty()) std::abort();
  }
  return 0;
}
