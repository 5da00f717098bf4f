// The streaming search against a plain search of every position.  The input
// holds up to eight patterns, the piece sizes to feed the text in, and the
// text; a small alphabet (the low two bits, or the whole byte when the
// input's first byte is odd) makes matches and overlaps common.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/matcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  bool wholeBytes = data[0] & 1;
  size_t patternCount = 1 + (data[0] >> 1) % 8;
  size_t at = 1;
  auto byte = [&](uint8_t b) { return static_cast<char>(wholeBytes ? b : 'a' + (b & 3)); };
  std::vector<std::string> patterns;
  for (size_t k = 0; k < patternCount && at < size; ++k) {
    size_t length = data[at++] % 9;  // 0..8; empty ones never match
    std::string pattern;
    for (size_t i = 0; i < length && at < size; ++i) pattern.push_back(byte(data[at++]));
    patterns.push_back(pattern);
  }
  size_t pieceA = at < size ? 1 + data[at++] % 70 : 1;
  size_t pieceB = at < size ? 1 + data[at++] % 70 : 1;
  std::string text;
  for (; at < size; ++at) text.push_back(byte(data[at]));

  std::set<std::pair<size_t, uint64_t>> expected, found;
  for (size_t id = 0; id < patterns.size(); ++id) {
    if (patterns[id].empty()) continue;
    for (size_t p = text.find(patterns[id]); p != std::string::npos; p = text.find(patterns[id], p + 1)) {
      expected.insert({id, p});
    }
  }
  std::vector<PatternRef> refs;
  for (const std::string& p : patterns) refs.push_back({reinterpret_cast<const unsigned char*>(p.data()), p.size()});
  PatternAutomaton automaton;
  if (!automaton.Build(refs.data(), refs.size())) std::abort();
  PatternStream stream(automaton);
  uint64_t lastEnd = 0;
  for (size_t done = 0, k = 0; done < text.size(); ++k) {
    size_t n = std::min(k % 2 ? pieceB : pieceA, text.size() - done);
    stream.Feed(reinterpret_cast<const unsigned char*>(text.data() + done), n, [&](size_t id, uint64_t first) {
      uint64_t end = first + automaton.PatternLength(id);
      if (end < lastEnd || end > done + n || !found.insert({id, first}).second) std::abort();
      lastEnd = end;
    });
    done += n;
  }
  if (found != expected || stream.Position() != text.size()) std::abort();
  return 0;
}
