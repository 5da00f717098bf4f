// Building the search automaton: a trie of the patterns, failure links found
// breadth first, then folded into a full transition table.
#include "matcher.h"

#include "common/memory.h"

namespace {
constexpr int32_t kNone = -1;
constexpr size_t kAlphabet = 256;
// Targets are stored times 256 in 32 bits.
constexpr size_t kMaxStates = size_t{1} << 24;
}  // namespace

bool PatternAutomaton::Fail() {
  Release();
  return false;
}

void PatternAutomaton::Release() {
  next_.Release();
  outputBegin_.Release();
  outputs_.Release();
  lengths_.Release();
  FillBytes(leavesStart_, 0, sizeof leavesStart_);
  exitCount_ = 0;
}

bool PatternAutomaton::Build(const PatternRef* patterns, size_t count) {
  Release();
  // Trie; kNone marks a missing edge.  Each state keeps a list of the
  // patterns that end in it: own_[s] is the first id + 1, link_[id] the next.
  PodArray<int32_t> go;
  PodArray<uint32_t> own, link;
  if (!go.Resize(kAlphabet, kNone) || !own.Push(0)) return Fail();
  size_t states = 1;
  for (size_t id = 0; id < count; ++id) {
    if (!lengths_.Push(static_cast<uint32_t>(patterns[id].size)) || !link.Push(0)) return Fail();
    size_t state = 0;
    for (size_t i = 0; i < patterns[id].size; ++i) {
      size_t edge = state * kAlphabet + patterns[id].bytes[i];
      if (go[edge] == kNone) {
        if (states == kMaxStates) return Fail();
        go[edge] = static_cast<int32_t>(states++);
        if (!go.Resize(states * kAlphabet, kNone) || !own.Push(0)) return Fail();
      }
      state = static_cast<size_t>(go[edge]);
    }
    if (patterns[id].size == 0) continue;
    link[id] = own[state];
    own[state] = static_cast<uint32_t>(id + 1);
  }

  // Breadth first, so that a state's failure target is complete before the
  // state itself: missing edges borrow the failure target's edges, and each
  // state ends the patterns of its own and of its failure target.
  PodArray<uint32_t> fail, order, ends;
  if (!fail.Resize(states, 0) || !ends.Resize(states, 0)) return Fail();
  for (size_t b = 0; b < kAlphabet; ++b) {
    if (go[b] == kNone) {
      go[b] = 0;
    } else if (!order.Push(static_cast<uint32_t>(go[b]))) {
      return Fail();
    }
  }
  for (size_t head = 0; head < order.Size(); ++head) {
    uint32_t state = order[head];
    for (uint32_t id = own[state]; id != 0; id = link[id - 1]) ++ends[state];
    ends[state] += ends[fail[state]];
    for (size_t b = 0; b < kAlphabet; ++b) {
      size_t edge = state * kAlphabet + b;
      int32_t borrowed = go[fail[state] * kAlphabet + b];
      if (go[edge] == kNone) {
        go[edge] = borrowed;
      } else {
        fail[static_cast<size_t>(go[edge])] = static_cast<uint32_t>(borrowed);
        if (!order.Push(static_cast<uint32_t>(go[edge]))) return Fail();
      }
    }
  }

  // Each state's list: its own patterns, then its failure target's (shorter)
  // ones, which breadth-first order has already written.
  if (!outputBegin_.Resize(states + 1, 0)) return Fail();
  for (size_t s = 0; s < states; ++s) outputBegin_[s + 1] = outputBegin_[s] + ends[s];
  if (!outputs_.Resize(outputBegin_[states], 0)) return Fail();
  for (size_t head = 0; head < order.Size(); ++head) {
    uint32_t state = order[head];
    uint32_t at = outputBegin_[state];
    for (uint32_t id = own[state]; id != 0; id = link[id - 1]) outputs_[at++] = id - 1;
    uint32_t from = outputBegin_[fail[state]];
    for (uint32_t k = 0; k < ends[fail[state]]; ++k) outputs_[at++] = outputs_[from + k];
  }

  if (!next_.Resize(go.Size(), 0)) return Fail();
  for (size_t i = 0; i < go.Size(); ++i) {
    uint32_t target = static_cast<uint32_t>(go[i]);
    next_[i] = (target << 8) | (ends[target] ? 1u : 0u);
  }
  for (size_t b = 0; b < kAlphabet; ++b) {
    leavesStart_[b] = next_[b] != 0;
    if (leavesStart_[b]) {
      if (exitCount_ < kWordwiseMax) exits_[exitCount_] = static_cast<unsigned char>(b);
      ++exitCount_;
    }
  }
  return true;
}

size_t PatternStream::SkipAtStart(const unsigned char* data, size_t i, size_t size) const {
  int exitCount = automaton_.exitCount_;
  if (exitCount <= PatternAutomaton::kWordwiseMax) {
    // A word holds one of the few leaving bytes b when (word ^ b*ones) has a
    // zero byte; the classic test for a zero byte cannot miss one.
    using Word = uintptr_t;
    constexpr Word kOnes = ~Word{0} / 0xFF;
    constexpr Word kHighs = kOnes * 0x80;
    while (i + sizeof(Word) <= size) {
      Word word;
      CopyBytes(&word, data + i, sizeof word);
      Word hit = 0;
      for (int k = 0; k < exitCount; ++k) {
        Word x = word ^ (kOnes * automaton_.exits_[k]);
        hit |= (x - kOnes) & ~x & kHighs;
      }
      if (hit) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // The lowest flagged byte is exact: a wrong flag can only sit above
        // a true one.  Going there directly saves the byte loop's mispredicted
        // exit, a third of the time on random data.
        unsigned zeros = sizeof(Word) > 4 ? static_cast<unsigned>(__builtin_ctzll(hit))
                                          : static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(hit)));
        return i + zeros / 8;
#else
        break;
#endif
      }
      i += sizeof(Word);
    }
  }
  const bool* leaves = automaton_.leavesStart_;
  // Four at a time: the tests do not depend on one another as table steps do.
  while (i + 4 <= size && !(leaves[data[i]] | leaves[data[i + 1]] | leaves[data[i + 2]] | leaves[data[i + 3]])) {
    i += 4;
  }
  while (i < size && !leaves[data[i]]) ++i;
  return i;
}
