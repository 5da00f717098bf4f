// The streaming multi-pattern search against a plain search of every
// position, fed whole, byte by byte and in pieces that split matches.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/matcher.h"

namespace {

using Match = std::pair<size_t, uint64_t>;  // pattern id, first byte

// Owns a built automaton over strings.
struct Automaton {
  explicit Automaton(const std::vector<std::string>& patterns) {
    std::vector<PatternRef> refs;
    for (const std::string& p : patterns) refs.push_back({reinterpret_cast<const unsigned char*>(p.data()), p.size()});
    EXPECT_TRUE(automaton.Build(refs.data(), refs.size()));
  }
  PatternAutomaton automaton;
};

std::set<Match> PlainSearch(const std::vector<std::string>& patterns, const std::string& text) {
  std::set<Match> found;
  for (size_t id = 0; id < patterns.size(); ++id) {
    for (size_t at = text.find(patterns[id]); at != std::string::npos; at = text.find(patterns[id], at + 1)) {
      found.insert({id, at});
    }
  }
  return found;
}

// Feeds `text` in pieces of the given sizes (the last one repeats), checking
// that matches come in the order of their ends.
std::set<Match> Streamed(const Automaton& built, const std::string& text, std::vector<size_t> pieces) {
  const PatternAutomaton& automaton = built.automaton;
  PatternStream stream(automaton);
  std::set<Match> found;
  uint64_t lastEnd = 0;
  size_t at = 0, k = 0;
  while (at < text.size()) {
    size_t n = std::min(pieces[std::min(k++, pieces.size() - 1)], text.size() - at);
    stream.Feed(reinterpret_cast<const unsigned char*>(text.data() + at), n, [&](size_t id, uint64_t first) {
      uint64_t end = first + automaton.PatternLength(id);
      EXPECT_GE(end, lastEnd);
      EXPECT_LE(end, at + n);
      lastEnd = end;
      EXPECT_TRUE(found.insert({id, first}).second) << "reported twice";
    });
    at += n;
  }
  EXPECT_EQ(stream.Position(), text.size());
  return found;
}

}  // namespace

TEST(Matcher, OverlappingAndNestedPatterns) {
  std::vector<std::string> patterns = {"he", "she", "his", "hers", "e", "ushers"};
  Automaton automaton(patterns);
  std::string text = "ushers and his sheep; hershe";
  std::set<Match> expected = PlainSearch(patterns, text);
  EXPECT_EQ(Streamed(automaton, text, {text.size()}), expected);
  EXPECT_EQ(Streamed(automaton, text, {1}), expected);
  EXPECT_TRUE(expected.count({5, 0}));
}

TEST(Matcher, MatchSplitAtEveryPoint) {
  std::string pattern = std::string("\x8F" "Split.Sample\0\x1A\xF0", 16);
  Automaton automaton({pattern, "Sample"});
  std::string text = std::string(100, 'x') + pattern + std::string(7, '\0') + pattern;
  std::set<Match> expected = PlainSearch({pattern, "Sample"}, text);
  ASSERT_EQ(expected.size(), 4u);
  for (size_t split = 1; split < text.size(); ++split) {
    EXPECT_EQ(Streamed(automaton, text, {split, text.size()}), expected) << "split at " << split;
  }
}

TEST(Matcher, EveryByteValueAndRepeats) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::vector<std::string> patterns = {all.substr(250), std::string(1, '\0'), std::string(3, '\xFF'),
                                       "aa", "aa", "aaa"};
  Automaton automaton(patterns);
  std::string text = all + all + std::string(5, '\xFF') + std::string(6, 'a') + std::string(2, '\0');
  std::set<Match> expected = PlainSearch(patterns, text);
  EXPECT_EQ(Streamed(automaton, text, {7}), expected);
  EXPECT_TRUE(expected.count({3, 512 + 5}) && expected.count({4, 512 + 5}));
}

TEST(Matcher, NoPatternsAndEmptyPieces) {
  Automaton none({});
  EXPECT_TRUE(Streamed(none, "anything at all", {3}).empty());
  Automaton withEmpty({"", "ab", ""});
  EXPECT_EQ(Streamed(withEmpty, "xabx", {1}), (std::set<Match>{{1, 1}}));
  PatternAutomaton unbuilt;
  EXPECT_TRUE(Streamed(Automaton({}), "", {1}).empty());
  PatternStream idle(unbuilt);
  idle.Feed(reinterpret_cast<const unsigned char*>("ab"), 2, [](size_t, uint64_t) { ADD_FAILURE(); });
  EXPECT_EQ(idle.Position(), 2u);
  Automaton one({"ab"});
  PatternStream stream(one.automaton);
  int found = 0;
  auto count = [&](size_t, uint64_t) { ++found; };
  stream.Feed(reinterpret_cast<const unsigned char*>("a"), 1, count);
  stream.Feed(nullptr, 0, count);
  stream.Feed(reinterpret_cast<const unsigned char*>("b"), 1, count);
  EXPECT_EQ(found, 1);
}

TEST(Matcher, RandomPatternsAgreeWithPlainSearch) {
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    // A small alphabet makes overlaps and shared prefixes common.
    int alphabet = 2 + static_cast<int>(random() % 4);
    auto textOf = [&](size_t n) {
      std::string s;
      for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + random() % alphabet));
      return s;
    };
    std::vector<std::string> patterns;
    for (size_t k = 1 + random() % 8; k > 0; --k) patterns.push_back(textOf(1 + random() % 6));
    std::string text = textOf(random() % 400);
    Automaton automaton(patterns);
    std::set<Match> expected = PlainSearch(patterns, text);
    EXPECT_EQ(Streamed(automaton, text, {1 + random() % 50, 1 + random() % 50}), expected) << "round " << round;
  }
}
