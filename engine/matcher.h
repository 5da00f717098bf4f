// Multi-pattern byte search (Aho-Corasick) that runs over a file chunk by
// chunk: a match split between two chunks is found through the automaton's
// state, so no byte is read twice and memory does not grow with the file.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "pod_array.h"

struct PatternRef {
  const unsigned char* bytes;
  size_t size;
};

class PatternAutomaton {
 public:
  // Builds the search for `count` patterns, known by their index; empty ones
  // never match, and patterns may repeat or overlap.  False when memory runs
  // out; the automaton is then empty.
  bool Build(const PatternRef* patterns, size_t count);
  void Release();

  size_t PatternCount() const { return lengths_.Size(); }
  size_t PatternLength(size_t id) const { return lengths_[id]; }
  size_t StateCount() const { return next_.Size() / 256; }

 private:
  friend class PatternStream;
  bool Fail();

  // Full transition table, 256 entries per state.  An entry holds the target
  // state times 256, so it is at once the index of the target's row; its low
  // bit is set when the target ends at least one pattern.
  PodArray<uint32_t> next_;
  // Patterns ended in state s: outputs_[outputBegin_[s] .. outputBegin_[s+1]).
  PodArray<uint32_t> outputBegin_;
  PodArray<uint32_t> outputs_;
  PodArray<uint32_t> lengths_;
  // Bytes that take the start state anywhere but back to itself; the search
  // skips the others without a table step.  When they are few, it skips a
  // machine word at a time.
  bool leavesStart_[256] = {};
  static constexpr int kWordwiseMax = 4;
  int exitCount_ = 0;
  unsigned char exits_[kWordwiseMax] = {};
};

// One pass of a built automaton over a stream fed in pieces of any size.
class PatternStream {
 public:
  explicit PatternStream(const PatternAutomaton& automaton) : automaton_(automaton) {}

  // Calls onMatch(pattern id, stream offset of the match's first byte) for
  // every occurrence that ends inside `data`, in the order of their ends.
  template <typename OnMatch>
  void Feed(const unsigned char* data, size_t size, OnMatch&& onMatch);

  uint64_t Position() const { return position_; }

 private:
  size_t SkipAtStart(const unsigned char* data, size_t i, size_t size) const;

  const PatternAutomaton& automaton_;
  uint32_t row_ = 0;
  uint64_t position_ = 0;
};

template <typename OnMatch>
void PatternStream::Feed(const unsigned char* data, size_t size, OnMatch&& onMatch) {
  if (automaton_.next_.Size() == 0) {
    position_ += size;
    return;
  }
  const uint32_t* next = automaton_.next_.Data();
  uint32_t row = row_;
  size_t i = 0;
  while (i < size) {
    if (row == 0) {
      i = SkipAtStart(data, i, size);
      if (i == size) break;
    }
    uint32_t entry = next[row + data[i]];
    row = entry & ~0xFFu;
    if (entry & 1u) {
      uint32_t state = row >> 8;
      uint64_t end = position_ + i + 1;
      for (uint32_t k = automaton_.outputBegin_[state]; k < automaton_.outputBegin_[state + 1]; ++k) {
        uint32_t id = automaton_.outputs_[k];
        onMatch(static_cast<size_t>(id), end - automaton_.lengths_[id]);
      }
    }
    ++i;
  }
  row_ = row;
  position_ += size;
}
